// The program under the window managers of common desktops: the surface covers the whole
// monitor over any panel with the palette above it, the program has one task-list entry, boxes
// open above the window they come from, and after every dialog the keys reach the program
// again without a click.
#include "support/picture_diff.h"
#include "support/test_support.h"
#include "x11_session.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

// The titles of the managed windows that a task list shows: those not asking to be left out.
QStringList taskListEntries(const X11Session& session) {
    QStringList entries;
    for (unsigned long window : session.clients())
        if (!session.property(window, "_NET_WM_STATE").contains("_NET_WM_STATE_SKIP_TASKBAR"))
            entries << session.property(window, "_NET_WM_NAME").remove('"');
    return entries;
}

bool stacksAbove(const X11Session& session, unsigned long upper, unsigned long lower) {
    const QList<unsigned long> order = session.clients("_NET_CLIENT_LIST_STACKING");
    return order.contains(lower) && order.indexOf(upper) > order.indexOf(lower);
}

bool focusGoesTo(const X11Session& session, unsigned long window) {
    return X11Session::waitUntil([&] { return session.activeWindow() == window; }, 5000);
}

// Saves through the dialog with keys alone, as a user who never touches the mouse.
void saveWithKeys(const X11Session& session, const QString& file, unsigned long returnsTo) {
    EXPECT_TRUE(focusGoesTo(session, returnsTo)) << "the keys go to the surface";
    session.key("ctrl+s");
    const unsigned long dialog = session.waitForWindow("Enregistrer l'ecran");
    ASSERT_NE(dialog, 0u) << "Ctrl+S reaches the program";
    ASSERT_TRUE(focusGoesTo(session, dialog)) << "the dialog takes the focus";
    session.type(file);
    session.key("Return");
    ASSERT_TRUE(X11Session::waitUntil([&] { return QFileInfo::exists(file); }));
    ASSERT_TRUE(session.waitForWindowGone("Enregistrer l'ecran"));
    EXPECT_TRUE(focusGoesTo(session, returnsTo)) << "the focus comes back to the surface";
}

class WindowManagerJourney : public testing::TestWithParam<WindowManager> {};

TEST_P(WindowManagerJourney, LancerDrawSaveTwiceUndoFinishAndClose) {
    X11Session session(1280, 1024, GetParam());
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    ProgramRun program(session);
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette));
    EXPECT_EQ(taskListEntries(session), QStringList{"Skribando"}) << "idle";

    const unsigned long surface = startDrawingPhase(session);
    ASSERT_NE(surface, 0u);
    EXPECT_TRUE(X11Session::waitUntil([&] {
        return session.windowGeometry(surface) == QRect(QPoint(0, 0), session.size());
    })) << "the whole monitor, where a panel stands too";
    EXPECT_TRUE(X11Session::waitUntil([&] { return stacksAbove(session, palette, surface); }))
        << "the palette stays above the surface";
    // Some window managers leave the palette out of the task list while it stands over the
    // surface as a tool window; the surface itself is never an entry.
    QStringList others = taskListEntries(session);
    EXPECT_LE(others.removeAll("Skribando"), 1);
    EXPECT_TRUE(others.isEmpty()) << others.join(", ").toStdString();

    // Opaque red across the bottom rows, where a desktop's panel stands.
    const int y = session.size().height() - 6;
    session.key("alt+shift+1 alt+s");
    session.drag(QPoint(200, y), QPoint(600, y));
    session.run("xdotool", {"mousemove", "--sync", "640", "400"});
    auto redShows = [&] {
        return testsupport::countColour(session.screenshot(), 0xFF0000, QRect(300, y - 2, 200, 5)) >
               500;
    };
    EXPECT_TRUE(X11Session::waitUntil(redShows)) << "the stroke shows over the panel's place";

    const QString first = session.configHome() + "/first.png";
    const QString second = session.configHome() + "/second.png";
    saveWithKeys(session, first, surface);
    saveWithKeys(session, second, surface);

    session.key("ctrl+BackSpace");
    EXPECT_TRUE(X11Session::waitUntil([&] { return !redShows(); })) << "undo reaches the surface";
    session.key("F9");
    EXPECT_TRUE(session.waitForWindowGone("ScreenForm")) << "F9 reaches the program";
    EXPECT_TRUE(focusGoesTo(session, palette));
    EXPECT_TRUE(X11Session::waitUntil(
        [&] { return taskListEntries(session) == QStringList{"Skribando"}; }, 3000))
        << "idle again";

    session.run("wmctrl", {"-c", "Skribando"});
    EXPECT_TRUE(program.waitForExit(10000)) << "closing the palette ends the program";

    QImage saved;
    ASSERT_TRUE(saved.load(second));
    EXPECT_GT(testsupport::countColour(saved.convertToFormat(QImage::Format_RGB32), 0xFF0000,
                                       QRect(300, y - 2, 200, 5)),
              500);
}

std::string nameOf(const testing::TestParamInfo<WindowManager>& info) {
    const char* names[] = {"Openbox", "Metacity", "Xfwm4", "IceWM"};
    return names[int(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Desktops, WindowManagerJourney,
                         testing::Values(WindowManager::Openbox, WindowManager::Metacity,
                                         WindowManager::Xfwm4, WindowManager::IceWM),
                         nameOf);

TEST(BoxesAboveOurWindows, TheHelpFailureStandsAboveTheInfoBoxAndHandsTheFocusBack) {
    X11Session session;
    REQUIRE_OUTSIDE_WORLD(session.ok(), session.error());
    // Without a program to open documents with, the help page cannot be opened.
    QProcessEnvironment environment = session.environment();
    environment.insert("PATH", session.configHome());
    ProgramRun program(environment, {});
    const unsigned long palette = session.waitForWindow("Skribando");
    ASSERT_NE(palette, 0u) << program.output();
    ASSERT_TRUE(waitForPaletteInTopRightCorner(session, palette));
    session.activate(palette);
    session.key("F1");
    const unsigned long info = session.waitForWindow("Info");
    ASSERT_NE(info, 0u);
    ASSERT_TRUE(focusGoesTo(session, info));

    session.key("Tab space"); // from "Réglages..." to "Aide"
    const unsigned long failure = session.waitForWindow("Fehler");
    ASSERT_NE(failure, 0u) << "the help page cannot be opened";
    EXPECT_TRUE(stacksAbove(session, failure, info));
    EXPECT_TRUE(focusGoesTo(session, failure));
    const QRect box = session.windowGeometry(failure);
    EXPECT_LE((box.center() - QRect(QPoint(0, 0), session.size()).center()).manhattanLength(), 40)
        << "in the middle of the screen";

    session.key("Return");
    EXPECT_TRUE(session.waitForWindowGone("Fehler"));
    EXPECT_TRUE(focusGoesTo(session, info));
    session.key("Escape");
    EXPECT_TRUE(session.waitForWindowGone("Info"));
    EXPECT_TRUE(focusGoesTo(session, palette));
}

} // namespace
