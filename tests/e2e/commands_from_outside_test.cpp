// A later start of the program with --lancer, --terminer or --basculer drives the running
// instance's drawing phase, as a desktop shortcut does.
#include "support/test_support.h"
#include "x11_session.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class CommandsFromOutside : public testing::Test {
protected:
    void SetUp() override { REQUIRE_OUTSIDE_WORLD(session.ok(), session.error()); }

    // Runs `skribando argument` to its end; its exit code, its error output in `errors`.
    int runCommand(const QString& argument, QString* errors = nullptr) {
        QProcess process;
        process.setProcessEnvironment(session.environment());
        process.start(SKRIBANDO_PROGRAM, {argument});
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        if (errors)
            *errors = QString::fromLocal8Bit(process.readAllStandardError());
        return process.exitCode();
    }
    // Runs the command and tells whether the surface is on screen (or gone) within a second.
    bool surfaceFollows(const QString& argument, bool shown) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(runCommand(argument), 0) << argument;
        const int left = std::max(0, 1000 - int(clock.elapsed()));
        return shown ? session.waitForWindow("ScreenForm", left) != 0
                     : session.waitForWindowGone("ScreenForm", left);
    }

    X11Session session;
};

TEST_F(CommandsFromOutside, LancerTerminerAndBasculerDriveTheRunningProgram) {
    ProgramRun program(session);
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette)) << "start-up steps done";

    ASSERT_TRUE(surfaceFollows("--lancer", true));
    EXPECT_EQ(session.windowGeometry(session.waitForWindow("ScreenForm")),
              QRect(QPoint(0, 0), session.size()));
    EXPECT_TRUE(surfaceFollows("--lancer", true)) << "a drawing phase already runs";
    session.key("F9");
    ASSERT_TRUE(session.waitForWindowGone("ScreenForm")) << "the surface has the keyboard";
    ASSERT_TRUE(surfaceFollows("--lancer", true));
    EXPECT_TRUE(surfaceFollows("--terminer", false));
    EXPECT_TRUE(surfaceFollows("--terminer", false)) << "nothing to finish";
    EXPECT_TRUE(surfaceFollows("--basculer", true));
    EXPECT_TRUE(surfaceFollows("--basculer", false));
    EXPECT_FALSE(session.isWindowVisible("Information")) << "no 'already running' box";
    EXPECT_TRUE(program.running());

    // Only the user can reach the socket: the socket or its folder is closed to others.
    const QString socket = session.environment().value("XDG_RUNTIME_DIR") + "/skribando.sock";
    struct stat socketFile, folder;
    ASSERT_EQ(lstat(QFile::encodeName(socket).constData(), &socketFile), 0) << socket;
    ASSERT_EQ(stat(QFile::encodeName(QFileInfo(socket).path()).constData(), &folder), 0);
    EXPECT_TRUE(S_ISSOCK(socketFile.st_mode));
    EXPECT_EQ(socketFile.st_uid, getuid());
    EXPECT_TRUE((socketFile.st_mode & 0777) == 0600 || (folder.st_mode & 0777) == 0700)
        << std::oct << socketFile.st_mode << " in " << folder.st_mode;

    ProgramRun plainSecond(session);
    EXPECT_NE(session.waitForWindow("Information"), 0u) << "a plain second start is refused";
}

TEST_F(CommandsFromOutside, LancerWithNothingRunningStartsTheProgramAndADrawingPhase) {
    ProgramRun program(session, {"--lancer"});
    EXPECT_NE(session.waitForWindow("ScreenForm"), 0u) << program.output();
    EXPECT_TRUE(surfaceFollows("--terminer", false)) << "it listens to later commands";
}

TEST_F(CommandsFromOutside, TerminerAloneAndWrongArgumentsStartNothing) {
    EXPECT_EQ(runCommand("--terminer"), 0);
    QString errors;
    EXPECT_EQ(runCommand("--lancr", &errors), 2);
    EXPECT_TRUE(errors.startsWith("Usage : skribando")) << errors;
    EXPECT_FALSE(session.isWindowVisible("Skribando"));
}

} // namespace
