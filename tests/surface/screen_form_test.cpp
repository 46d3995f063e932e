// TScreenForm driven offscreen: real mouse and key events, the text box, and the shared
// menu's shortcuts winning over the text box's editing keys.
#include "surface/widget/screen_form.h"

#include "raster/canvas.h"
#include "support/picture_diff.h"
#include "surface/figures.h"
#include "surface/widget/text_box_edit.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using testsupport::samePixels;

namespace {
class ScreenFormTest : public testing::Test {
protected:
    void SetUp() override {
        state.Tool = ToolLine;
        state.PenColour = rgbColour(0, 0, 255);
        state.PenMode = PenMix::pmCopy;
        state.PenWidth = 3;
        capture = QImage(240, 160, QImage::Format_RGB32);
        capture.fill(Qt::white);
        surface.StartPhase(capture);
        form.setGeometry(0, 0, 240, 160);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), form.mapToGlobal(QPointF(at)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&form, &event);
    }
    void press(QPoint at) { mouse(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void move(QPoint at, bool held) {
        mouse(QEvent::MouseMove, at, Qt::NoButton, held ? Qt::LeftButton : Qt::NoButton);
    }
    void release(QPoint at) { mouse(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }

    void chooseTool(int tool) {
        surface.ParkToolSymbol();
        surface.ResetPointForToolChoice(tool);
        state.Tool = tool;
        surface.RefreshToolSymbol({0, 0});
        surface.ParkToolSymbol();
    }

    DrawingState state;
    DrawingSurface surface{state};
    TScreenForm form{surface};
    QImage capture;
};

int firstDarkRow(const QImage& picture, int columns) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < std::min(columns, picture.width()); ++x)
            if (qGray(picture.pixel(x, y)) < 100)
                return y;
    return -1;
}

int firstDarkColumn(const QImage& picture) {
    for (int x = 0; x < picture.width(); ++x)
        for (int y = 0; y < picture.height(); ++y)
            if (qGray(picture.pixel(x, y)) < 100)
                return x;
    return -1;
}
} // namespace

TEST_F(ScreenFormTest, DraggingWithTheMouseCommitsTheShapeIntoThePicture) {
    move({20, 30}, false);
    press({20, 30});
    move({100, 60}, true);
    move({200, 120}, true);
    release({200, 120});
    surface.ParkToolSymbol();
    QImage want = capture.copy();
    raster::Canvas canvas(want);
    ApplyStrokePen(canvas, state);
    canvas.Line(20, 30, 200, 120);
    EXPECT_TRUE(samePixels(want, surface.Picture()));
}

TEST_F(ScreenFormTest, ShiftHeldDuringADragSnapsTheLine) {
    press({20, 30});
    move({200, 40}, true);
    // As the window system sends it: the state before the key, which Qt reports with Shift.
    QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier);
    QApplication::sendEvent(&form, &shiftDown);
    EXPECT_EQ(surface.CurrentPoint, QPoint(200, 30));
}

TEST_F(ScreenFormTest, TypedTextIsWrittenWhereTheBoxShowedIt) {
    chooseTool(ToolText);
    state.PenWidth = 21;
    surface.RefreshToolSymbol(form.pointerInPicture());
    move({30, 120}, false);
    press({30, 120});
    release({30, 120});
    QLineEdit* edit = form.edit1();
    ASSERT_TRUE(edit->isVisible());
    EXPECT_EQ(edit->toolTip(), QString::fromUtf8("Text übernehmen mit Enter, abbrechen mit ESC"));
    EXPECT_EQ(edit->geometry().bottom() + 1, 120) << "lower-left corner at the click";
    QTest::keyClicks(edit, "Bonjour");
    EXPECT_EQ(surface.textBox().text, "Bonjour");
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance("Bonjour"));

    // Where the edit shows its first letter, in picture coordinates.
    QImage shown = edit->grab().toImage();
    int shownColumn = firstDarkColumn(shown) + edit->x();
    // Rows of the first letters only: the edit's text cursor stands after the last one.
    int letters = shown.width() / 2;
    int shownRow = firstDarkRow(shown, letters) + edit->y();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_TRUE(edit->text().isEmpty());
    surface.ParkToolSymbol();
    QImage picture = surface.Picture();
    EXPECT_GT(testsupport::countColour(picture, qRgb(0, 0, 255)), 100);
    EXPECT_GT(testsupport::countColour(picture, qRgb(0, 0, 0)), 50) << "a shadow from 20 points up";
    EXPECT_NEAR(firstDarkColumn(picture), shownColumn, 1);
    EXPECT_NEAR(firstDarkRow(picture, edit->x() + letters), shownRow, 1);
}

TEST_F(ScreenFormTest, EscInTheBoxDropsTheTextOnly) {
    bool closed = false;
    form.onClosedOtherwise = [&] {
        closed = true;
    };
    chooseTool(ToolText);
    press({30, 120});
    release({30, 120});
    QTest::keyClicks(form.edit1(), "Rien");
    QTest::keyClick(form.edit1(), Qt::Key_Escape);
    EXPECT_FALSE(form.edit1()->isVisible());
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(closed);
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(ScreenFormTest, MenuShortcutsComeBeforeTheTextBoxKeys) {
    QMenu menu;
    QAction* copy = menu.addAction("Copier dans le presse-papier");
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    QAction* undo = menu.addAction("Annuler");
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Backspace));
    QMenu* colours = menu.addMenu("Couleur");
    QAction* line = colours->addAction("Segment");
    line->setShortcut(QKeySequence(Qt::ALT | Qt::Key_L));
    form.setPopupMenu(&menu);
    form.addActions({copy, undo, line});
    QObject::connect(line, &QAction::triggered, [&] {
        surface.ParkToolSymbol();
        surface.ResetPointForToolChoice(ToolLine);
        state.Tool = ToolLine;
        surface.RefreshToolSymbol(form.pointerInPicture());
    });
    QSignalSpy copied(copy, &QAction::triggered);
    QSignalSpy undone(undo, &QAction::triggered);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    chooseTool(ToolText);
    press({30, 120});
    release({30, 120});
    QLineEdit* edit = form.edit1();
    ASSERT_TRUE(edit->hasFocus());
    QTest::keyClicks(edit, "abc");
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(copied.count(), 1);
    QTest::keyClick(edit, Qt::Key_Backspace, Qt::ControlModifier);
    EXPECT_EQ(undone.count(), 1);
    EXPECT_EQ(edit->text(), "abc") << "the box did not delete a word";
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier); // not a menu key: the box's own
    EXPECT_EQ(edit->selectedText(), "abc");

    // The tool shortcut from the submenu commits the text first.
    QTest::keyClick(edit, Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(state.Tool, ToolLine);
    EXPECT_FALSE(edit->isVisible());
    EXPECT_GT(testsupport::countColour(surface.Picture(), qRgb(0, 0, 255)), 20);
}

TEST_F(ScreenFormTest, TheBoxTakesTheFontSizeOfEachPenWidth) {
    chooseTool(ToolText);
    std::vector<int> pixelSizes;
    for (int width : {3, 21, 3}) {
        state.PenWidth = width;
        press({30, 120});
        release({30, 120});
        const int wanted = int(std::lround(raster::pixelSizeOf(surface.textBox().fontPoints) /
                                           form.devicePixelRatioF()));
        EXPECT_EQ(form.edit1()->font().pixelSize(), wanted) << "width " << width;
        pixelSizes.push_back(wanted);
        QTest::keyClick(form.edit1(), Qt::Key_Escape);
    }
    EXPECT_NE(pixelSizes[0], pixelSizes[1]);
}

TEST_F(ScreenFormTest, ShowingTheFormHidesAndEmptiesTheBox) {
    chooseTool(ToolText);
    press({30, 120});
    release({30, 120});
    QTest::keyClicks(form.edit1(), "Vieux");
    form.hide();
    form.show();
    EXPECT_FALSE(form.edit1()->isVisible());
    EXPECT_TRUE(form.edit1()->text().isEmpty());
    EXPECT_FALSE(surface.textBox().open);
}

TEST(Edit1Geometry, ShiftsLeftByTheInnerMarginAndScalesToLogicalPixels) {
    TextBox box;
    box.left = 100, box.top = 40, box.width = 60, box.height = 20;
    EXPECT_EQ(edit1Geometry(box, 1.0, 2), QRect(98, 40, 62, 20));
    EXPECT_EQ(edit1Geometry(box, 2.0, 2), QRect(48, 20, 32, 10));
    box.left = 101, box.width = 60;
    EXPECT_EQ(edit1Geometry(box, 2.0, 0), QRect(50, 20, 31, 10))
        << "device 101..160 -> logical 50..80";
}
