#include "controls/message_box.h"
#include "controls/modal.h"

#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs `look` once the modal window that has just opened has the focus, then closes it.
void whenModalShows(const std::function<void(QWidget& modal)>& look) {
    QTimer::singleShot(0, [look] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return modal->isActiveWindow(); }, 2000));
        look(*modal);
        static_cast<QDialog*>(modal)->done(0);
    });
}

TEST(ModalPlacement, ADialogBelongsToTheFocusedWindowStaysOnTopAndHandsTheFocusBack) {
    QWidget palette(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    QWidget surface;
    palette.show();
    surface.show();
    surface.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&surface));

    QWidget ownParent;
    QDialog dialog(&ownParent);
    QWidget* parentWhileOpen = nullptr;
    bool onTopWhileOpen = false;
    whenModalShows([&](QWidget& modal) {
        parentWhileOpen = modal.parentWidget();
        onTopWhileOpen = modal.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    execModal(dialog);

    EXPECT_EQ(parentWhileOpen, &surface);
    EXPECT_TRUE(onTopWhileOpen) << "above the palette too";
    EXPECT_EQ(dialog.parentWidget(), &ownParent) << "its own parent afterwards";
    EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&surface)) << "the focus goes back";
}

TEST(ModalPlacement, AMessageBoxFromAnInfoBoxStandsAboveItInTheMiddleOfTheScreen) {
    QWidget palette(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint);
    palette.setGeometry(700, 0, 50, 30);
    palette.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&palette));
    QDialog infoBox(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);

    QWidget* boxParent = nullptr;
    QPoint boxCentre;
    bool infoActiveAfterwards = false;
    whenModalShows([&](QWidget& info) {
        whenModalShows([&](QWidget& box) {
            boxParent = box.parentWidget();
            boxCentre = box.geometry().center();
        });
        showMessage(MessageKind::Error, "file://x ne peut être ouvert.", &palette);
        infoActiveAfterwards = QTest::qWaitForWindowActive(&info);
    });
    execModal(infoBox);

    EXPECT_EQ(boxParent, &infoBox);
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((boxCentre - screenCentre).manhattanLength(), 10) << "not over the palette";
    EXPECT_TRUE(infoActiveAfterwards);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&palette));
}

} // namespace
