// Where the palette stands on a desktop of two monitors whose primary one is on the right.
#include "support/test_support.h"
#include "x11_session.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(PalettePlace, ThePaletteStartsAtThePrimaryMonitorsTopRightAndIsStoredThere) {
    X11Session session(1920, 1080);
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    REQUIRE_OUTSIDE_WORLD(session.splitIntoMonitors(X11Session::primaryOnTheRight()),
                          session.error());
    ProgramRun program(session);
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    // The desktop's top-right corner is the primary monitor's.
    ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette))
        << "the palette's frame stands at x " << session.frameGeometry(palette).x();
    const int left = session.frameGeometry(palette).x();

    session.run("wmctrl", {"-c", "Skribando"});
    ASSERT_TRUE(program.waitForExit());
    QFile file(session.configHome() + "/Brenholtsoft/Skribando.reg");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString stored = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(stored.contains(QString("\"WinPos-Left\"=dword:%1").arg(left, 8, 16, QChar('0'))))
        << stored;
}
