// The palette driven offscreen: its choice groups, its drawing state, the Start/Finish
// states and the roads that end the program.
#include "app/phase_commands.h"
#include "app/settings.h"
#include "app/tool_form.h"
#include "controls/message_box.h"
#include "support/picture_diff.h"
#include "surface/widget/screen_form.h"

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using Phase = TToolForm::Phase;

QImage Capture(int seed) {
    QImage picture(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 6, y * 8, seed * 40));
    return picture;
}

class Palette : public testing::Test {
protected:
    void SetUp() override {
        Settings() = GlobalSettings{};
        palette.AttachSurface(surface, screen);
        palette.grabScreen = [this] {
            return Capture(++grabs);
        };
        palette.saveSettings = [this] {
            ++saves;
        };
    }
    void TearDown() override {
        screen.hide();
        Settings() = GlobalSettings{};
    }

    bool down(const char* button) const { return palette.button(button)->isChecked(); }
    bool checked(const char* item) const { return palette.menuItem(item)->isChecked(); }

    TToolForm palette;
    DrawingSurface surface{palette.drawingState()};
    TScreenForm screen{surface};
    int grabs = 0;
    int saves = 0;
};

TEST_F(Palette, StartsWithWidth3TransparentRedAndThePenWhenNothingIsStored) {
    palette.ApplyStoredModes();
    EXPECT_TRUE(down("Dicke3Btn") && down("MarkCol1Btn") && down("StiftBtn"));
    EXPECT_TRUE(checked("Dicke3") && checked("MarkCol1") && checked("Stift1"));
    const DrawingState& state = palette.drawingState();
    EXPECT_EQ(state.PenWidth, 13);
    EXPECT_EQ(state.PenColour, 0x0000FFu);
    EXPECT_EQ(state.PenMode, PenMix::pmMask);
    EXPECT_EQ(state.Tool, ToolPen);
}

TEST_F(Palette, OnlyTheToolSymbolModeHidesThePointerOverThePicture) {
    Settings().MauszeigerMode = kToolSymbolOnly;
    palette.ApplyStoredModes();
    EXPECT_EQ(screen.cursor().shape(), Qt::BlankCursor);
    Settings().MauszeigerMode = 3; // unknown: the normal arrow
    palette.ApplyStoredModes();
    EXPECT_EQ(screen.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Palette, ChoicesStoreTheirCodeAndSetTheDrawingState) {
    struct Case {
        const char* button;
        int code;
        int tool;
    };
    // The stored code follows the palette's order; the engine's code another one.
    for (Case c : {Case{"PfeilBtn", 4, ToolArrow}, Case{"RechteckBtn", 5, ToolRectangle},
                   Case{"DoppelpfeilBtn", 6, ToolDoubleArrow}, Case{"EllipseBtn", 7, ToolEllipse},
                   Case{"TextBtn", 8, ToolText}, Case{"SchwammBtn", 2, ToolEraser}}) {
        palette.button(c.button)->click();
        EXPECT_EQ(Settings().WerkzeugMode, c.code) << c.button;
        EXPECT_EQ(palette.drawingState().Tool, c.tool) << c.button;
    }
    palette.button("MarkCol5Btn")->click();
    EXPECT_EQ(Settings().FarbMode, 5);
    EXPECT_EQ(palette.drawingState().PenColour, 0xFF0000u);
    EXPECT_EQ(palette.drawingState().PenMode, PenMix::pmMask);
    palette.menuItem("DeckCol5")->trigger();
    EXPECT_EQ(Settings().FarbMode, 15);
    EXPECT_EQ(palette.drawingState().PenMode, PenMix::pmCopy);
    EXPECT_TRUE(down("DeckCol5Btn"));
    EXPECT_FALSE(down("MarkCol5Btn")) << "a choice releases the other buttons of its group";
    palette.menuItem("Dicke1")->trigger();
    EXPECT_EQ(Settings().StiftdickeMode, 1);
    EXPECT_EQ(palette.drawingState().PenWidth, 3);
    EXPECT_TRUE(down("Dicke1Btn"));
}

TEST_F(Palette, ButtonAndMenuItemAlwaysShowTheSameChoice) {
    palette.button("KreuzBtn")->click();
    EXPECT_TRUE(checked("Kreuz1"));
    palette.menuItem("Linie1")->trigger();
    EXPECT_TRUE(down("LinieBtn"));
    EXPECT_FALSE(down("KreuzBtn"));
    EXPECT_FALSE(checked("Kreuz1"));
}

TEST_F(Palette, StoredCodesOutsideTheirTablesSelectNothing) {
    Settings().StiftdickeMode = 9;
    Settings().FarbMode = 4; // the codes skip 4
    Settings().WerkzeugMode = 0;
    palette.ApplyStoredModes();
    for (const char* b : {"Dicke1Btn", "Dicke2Btn", "Dicke3Btn", "Dicke4Btn", "MarkCol1Btn",
                          "DeckCol1Btn", "StiftBtn", "KreuzBtn"})
        EXPECT_FALSE(down(b)) << b;
    EXPECT_EQ(palette.drawingState().PenWidth, 0);
    EXPECT_EQ(palette.drawingState().Tool, ToolNone);
    EXPECT_EQ(palette.drawingState().PenMode, PenMix::pmBlack);
}

TEST_F(Palette, StartFreezesAFreshCaptureAndFinishReturns) {
    EXPECT_EQ(palette.height(), TToolForm::kCollapsedHeight);
    palette.StartFertigBtnClick();
    EXPECT_EQ(palette.PaletteState, Phase::Drawing);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(palette.height(), palette.expandedHeight());
    EXPECT_EQ(palette.expandedHeight(), 24 + 336 + 24 + 1);
    EXPECT_TRUE(testsupport::samePixels(Capture(1), surface.Picture()));
    EXPECT_TRUE(testsupport::samePixels(Capture(1), surface.UndoPicture()));

    palette.StartFertigBtnClick();
    EXPECT_EQ(palette.PaletteState, Phase::Idle);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(palette.height(), TToolForm::kCollapsedHeight);
    EXPECT_EQ(saves, 0) << "Finish does not end the program";

    bool frozenScreenHeldAtGrab = true;
    palette.grabScreen = [&] {
        frozenScreenHeldAtGrab = !surface.ScreenPicture().isNull();
        return Capture(++grabs);
    };
    palette.StartFertigBtnClick(); // a second Start takes a new capture
    EXPECT_FALSE(frozenScreenHeldAtGrab) << "let go first, so the grab can reuse its memory";
    EXPECT_TRUE(testsupport::samePixels(Capture(2), surface.Picture()));
    EXPECT_TRUE(testsupport::samePixels(Capture(2), surface.ScreenPicture()));
}

TEST_F(Palette, AScreenThatCannotBeReadIsSaidAndThePaletteStaysIdle) {
    std::vector<std::pair<MessageKind, QString>> boxes;
    setMessageHandler([&](MessageKind kind, const QString& text) {
        boxes.push_back({kind, text});
    });
    palette.grabScreen = [] {
        return ScreenCapture();
    };
    palette.show();
    palette.StartFertigBtnClick();
    setMessageHandler({});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].first, MessageKind::AppError);
    EXPECT_TRUE(boxes[0].second.contains(QString::fromUtf8("écran")));
    EXPECT_EQ(palette.PaletteState, Phase::Idle);
    EXPECT_TRUE(palette.isVisible());
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(palette.height(), TToolForm::kCollapsedHeight);
    EXPECT_TRUE(surface.Picture().isNull()) << "no phase starts on an unread picture";
}

TEST_F(Palette, FinishingStateIgnoresStartAndFinish) {
    palette.PaletteState = Phase::Finishing;
    palette.StartFertigBtnClick();
    EXPECT_EQ(palette.PaletteState, Phase::Finishing);
    EXPECT_EQ(grabs, 0);
}

TEST_F(Palette, FinishWithAutoCloseEndsTheProgram) {
    Settings().AutoClose = true;
    palette.show();
    palette.StartFertigBtnClick();
    palette.StartFertigBtnClick();
    EXPECT_FALSE(palette.isVisible());
    EXPECT_EQ(saves, 1) << "the settings are saved on the way out";
}

TEST_F(Palette, ClosingTheSurfaceOtherwiseEndsTheProgram) {
    palette.show();
    palette.StartFertigBtnClick();
    screen.close();
    EXPECT_FALSE(palette.isVisible());
    EXPECT_EQ(saves, 1);
}

TEST_F(Palette, FirstActivationRunsItsStepsOnce) {
    int loads = 0, texts = 0;
    palette.loadSettings = [&] {
        ++loads;
    };
    palette.applyRunTimeTexts = [&] {
        ++texts;
    };
    palette.FormActivate();
    palette.FormActivate();
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(texts, 1);
    EXPECT_FALSE(palette.FirstActivate);
    EXPECT_FALSE(palette.Timer1.isActive()) << "no automatic start unless AutoOpen";
}

TEST_F(Palette, AutoOpenStartsTheDrawingPhaseByItself) {
    Settings().AutoOpen = true;
    palette.FormActivate();
    EXPECT_TRUE(palette.Timer1.isActive());
    EXPECT_EQ(palette.Timer1.interval(), 250);
    QTest::qWait(400);
    EXPECT_EQ(palette.PaletteState, Phase::Drawing);
    EXPECT_EQ(grabs, 1);
}

TEST_F(Palette, ShortcutsWorkOnThePaletteAndOnTheSurface) {
    palette.show();
    palette.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&palette));
    QTest::keyClick(&palette, Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(Settings().StiftdickeMode, 4);
    QTest::keyClick(&palette, Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(palette.drawingState().Tool, ToolArrow);

    QTest::keyClick(&palette, Qt::Key_F9);
    ASSERT_TRUE(screen.isVisible());
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    QTest::keyClick(&screen, Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(Settings().FarbMode, 2);
    QTest::keyClick(&screen, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(palette.drawingState().Tool, ToolEllipse);
    QTest::keyClick(&screen, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(palette.drawingState().PenWidth, 3);
    QTest::keyClick(&screen, Qt::Key_F9);
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(palette.PaletteState, Phase::Idle);
}

TEST_F(Palette, EscOnThePalettePressesStart) {
    palette.show();
    palette.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&palette));
    QTest::keyClick(&palette, Qt::Key_Escape);
    EXPECT_EQ(palette.PaletteState, Phase::Drawing);
}

TEST_F(Palette, CommandsFromOutsideActOnlyWhereTheStartButtonCould) {
    CarryOutPhaseCommand(palette, PhaseCommand::Start);
    CarryOutPhaseCommand(palette, PhaseCommand::Finish);
    CarryOutPhaseCommand(palette, PhaseCommand::Toggle);
    EXPECT_EQ(grabs, 0) << "before the start-up steps a start waits for them";
    palette.FormActivate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return palette.PaletteState == Phase::Drawing; }, 5000));
    CarryOutPhaseCommand(palette, PhaseCommand::Start);
    EXPECT_EQ(grabs, 1) << "a drawing phase already runs";

    QDialog dialog;
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    CarryOutPhaseCommand(palette, PhaseCommand::Toggle);
    EXPECT_EQ(palette.PaletteState, Phase::Drawing)
        << "an open dialog keeps the button from being clicked";
    dialog.hide();
    CarryOutPhaseCommand(palette, PhaseCommand::Finish);
    EXPECT_EQ(palette.PaletteState, Phase::Idle);
    CarryOutPhaseCommand(palette, PhaseCommand::Finish);
    EXPECT_EQ(palette.PaletteState, Phase::Idle);
    EXPECT_EQ(grabs, 1);
}

} // namespace

namespace {

class PaletteOverSurface : public Palette {
protected:
    void SetUp() override {
        Palette::SetUp();
        palette.ApplyStoredModes(); // pen, width 13
        palette.StartFertigBtnClick();
        surface.RefreshToolSymbol(QPoint(20, 15));
        ASSERT_FALSE(testsupport::samePixels(Capture(1), surface.Picture()))
            << "the pen's symbol is on the picture";
    }
};

TEST_F(PaletteOverSurface, OpeningTheMenuRemovesTheToolSymbol) {
    emit palette.PopupMenu1->aboutToShow();
    EXPECT_TRUE(testsupport::samePixels(Capture(1), surface.Picture()));
}

TEST_F(PaletteOverSurface, ThePointerReachingThePaletteRemovesTheToolSymbol) {
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(palette.button("StiftBtn"), &move);
    EXPECT_TRUE(testsupport::samePixels(Capture(1), surface.Picture()));
}

TEST_F(PaletteOverSurface, APressOnThePictureBringsThePaletteForward) {
    struct ZOrderChanges : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::ZOrderChange;
            return false;
        }
    } raises;
    palette.installEventFilter(&raises);
    QTest::mousePress(&screen, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&screen, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(raises.count, 1);
}

TEST_F(PaletteOverSurface, UndoAndClearReachTheSurface) {
    for (QPoint dot : {QPoint(5, 5), QPoint(30, 20)}) {
        surface.MouseDown(MouseButton::Left, {false, true, false}, dot);
        surface.MouseUp(MouseButton::Left, {false, false, false}, dot);
    }
    palette.menuItem("Alleslschen1")->trigger();
    EXPECT_TRUE(testsupport::samePixels(Capture(1), surface.Picture()));
    palette.button("RueckgaengigBtn")->click();
    EXPECT_FALSE(testsupport::samePixels(Capture(1), surface.Picture()))
        << "undo brings back the first dot, drawn before the last press";
}

} // namespace
