// The other roads in and out of a drawing phase: automatic start and end from the settings,
// and a surface closed by the window manager.
#include "support/test_support.h"
#include "x11_session.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

class StartAndEndRoads : public testing::Test {
protected:
    void SetUp() override { REQUIRE_OUTSIDE_WORLD(session.ok(), session.error()); }
    // A settings file as a previous run (or a person) left it.
    void storeSettings(const QString& values) {
        const QString folder = session.configHome() + "/Brenholtsoft";
        QDir().mkpath(folder);
        QFile file(folder + "/Skribando.reg");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Windows Registry Editor Version 5.00\r\n\r\n"
                   "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n" +
                   values.toUtf8());
    }
    void clickStart() {
        unsigned long palette = session.waitForWindow("Skribando");
        ASSERT_NE(palette, 0u);
        session.click(session.windowGeometry(palette).topLeft() + kLancerInPalette);
        ASSERT_NE(session.waitForWindow("ScreenForm"), 0u);
    }
    X11Session session;
};

TEST_F(StartAndEndRoads, ClosingTheSurfaceThroughTheWindowManagerEndsTheProgram) {
    ProgramRun program(session);
    ASSERT_NE(startDrawingPhase(session), 0u) << program.output();
    session.key("ctrl+1"); // a width other than the one stored at the start
    session.run("wmctrl", {"-c", "ScreenForm"});
    ASSERT_TRUE(program.waitForExit(10000));
    EXPECT_EQ(program.exitCode(), 0);
    QFile file(session.configHome() + "/Brenholtsoft/Skribando.reg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("\"StiftdickeMode\"=dword:00000001"))
        << "the settings were saved on the way out";
}

TEST_F(StartAndEndRoads, AutoOpenFreezesTheScreenByItself) {
    storeSettings("\"AutoOpen\"=dword:00000001\r\n");
    ProgramRun program(session);
    EXPECT_NE(session.waitForWindow("ScreenForm", 10000), 0u) << program.output();
}

TEST_F(StartAndEndRoads, FinishWithAutoCloseEndsTheProgram) {
    storeSettings("\"AutoClose\"=dword:00000001\r\n");
    ProgramRun program(session);
    clickStart();
    session.key("F9");
    ASSERT_TRUE(program.waitForExit(10000)) << "Terminer ends the whole program";
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
