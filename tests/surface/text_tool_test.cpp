// The text tool in the engine: the box's place and size, commit, cancel, shadow, colour,
// parking and undo.
#include "engine_fixture.h"

#include "raster/canvas.h"

using testsupport::samePixels;

namespace {
int textPixels(const QImage& picture, QRgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            count += (picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return count;
}
} // namespace

class TextToolTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        QImage white(301, 121, QImage::Format_RGB32);
        white.fill(Qt::white);
        start(white);
        state.PenWidth = 13; // 24 points: committed with a shadow
        choose(ToolText);
        surface.RefreshToolSymbol({10, 10});
    }
    void clickAt(int x, int y) {
        hover(x, y);
        press(x, y);
        release(x, y);
    }
    void type(const QString& text) { surface.Edit1Change(text); }

    // What CommitText should write for the text at the box's place.
    QImage written(const QString& text, int points, COLORREF colour, bool shadow, QPoint topLeft) {
        return expected([&](raster::Canvas& c) {
            applyTextFont(c, points, colour);
            writeText(c, topLeft.x(), topLeft.y(), text, colour, shadow);
        });
    }
};

TEST_F(TextToolTest, BoxOpensWithItsLowerLeftCornerAtTheClickAndGrowsWithItsText) {
    state.PenWidth = 21;
    surface.RefreshToolSymbol({10, 10});
    clickAt(40, 90);
    const TextBox& box = surface.textBox();
    raster::Font font{"Arial", 39, true, 0};
    QImage scratch(1, 1, QImage::Format_RGB32);
    raster::Canvas measure(scratch);
    measure.setFont(font);
    EXPECT_TRUE(box.open);
    EXPECT_EQ(box.fontPoints, 39);
    EXPECT_EQ(box.height, measure.TextHeight("X"));
    EXPECT_EQ(box.left, 40);
    EXPECT_EQ(box.top, 90 - box.height);
    EXPECT_EQ(box.width, measure.TextWidth("xx"));
    type("Bonjour");
    EXPECT_EQ(surface.textBox().width, measure.TextWidth("Bonjourxx"));
    // A second click moves the box with its text, writing nothing.
    clickAt(100, 60);
    EXPECT_EQ(surface.textBox().left, 100);
    EXPECT_EQ(surface.textBox().text, "Bonjour");
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(TextToolTest, FontSizeFollowsTheWidthIncludingTheHiddenWidths) {
    const std::pair<int, int> sizes[] = {{3, 9}, {7, 16}, {13, 24}, {21, 39}, {31, 57}, {43, 79}};
    for (auto [width, points] : sizes) {
        state.PenWidth = width;
        surface.RefreshToolSymbol({10, 10});
        EXPECT_EQ(surface.textBox().fontPoints, points) << "width " << width;
    }
}

TEST_F(TextToolTest, EnterWithAnEmptyBoxWritesNothingAndClosesIt) {
    clickAt(40, 60);
    EXPECT_TRUE(surface.Edit1KeyPress(13));
    EXPECT_FALSE(surface.textBox().open);
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(TextToolTest, Width21TextHasABlackShadowAndWidth3None) {
    for (auto [width, points, shadow] : {std::tuple{21, 39, true}, std::tuple{3, 9, false}}) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        surface.StartPhase(capture);
        state.PenWidth = width;
        surface.RefreshToolSymbol({10, 10});
        clickAt(20, 100);
        type("Salut");
        QPoint topLeft(surface.textBox().left, surface.textBox().top);
        surface.Edit1KeyPress(13);
        surface.ParkToolSymbol();
        EXPECT_TRUE(samePixels(written("Salut", points, state.PenColour, shadow, topLeft),
                               surface.Picture()));
        EXPECT_EQ(textPixels(surface.Picture(), qRgb(0, 0, 0)) > 0, shadow);
    }
}

TEST_F(TextToolTest, AColourChangeWhileTypingRecoloursTheBoxAndTheTextIsWrittenOpaque) {
    state.PenWidth = 13;
    surface.RefreshToolSymbol({10, 10});
    QImage grey(301, 121, QImage::Format_RGB32);
    grey.fill(qRgb(90, 90, 90));
    start(grey);
    clickAt(20, 100);
    type("Oui");
    // Transparent yellow chosen while typing: masked over grey it would stay dark.
    state.PenColour = rgbColour(255, 255, 0);
    state.PenMode = PenMix::pmMask;
    surface.SyncTextColour();
    surface.RefreshToolSymbol({20, 100});
    EXPECT_EQ(surface.textBox().colour, rgbColour(255, 255, 0));
    EXPECT_TRUE(surface.textBox().open) << "a colour change does not commit";
    surface.Edit1KeyPress(13);
    EXPECT_GT(textPixels(surface.Picture(), qRgb(255, 255, 0)), 50);
}

TEST_F(TextToolTest, ParkingCommitsAnOpenBox) {
    clickAt(20, 100);
    type("Palette");
    QPoint topLeft(surface.textBox().left, surface.textBox().top);
    surface.ParkToolSymbol(); // the pointer reached the palette
    EXPECT_FALSE(surface.textBox().open);
    EXPECT_TRUE(
        samePixels(written("Palette", 24, state.PenColour, true, topLeft), surface.Picture()));
}

TEST_F(TextToolTest, AWidthChangeWhileTypingCommitsInTheOldSize) {
    state.PenWidth = 3;
    surface.RefreshToolSymbol({10, 10});
    clickAt(20, 100);
    type("Petit");
    QPoint topLeft(surface.textBox().left, surface.textBox().top);
    surface.ParkToolSymbol(); // the width handler parks first
    state.PenWidth = 21;
    surface.RefreshToolSymbol({20, 100});
    surface.ParkToolSymbol();
    EXPECT_TRUE(
        samePixels(written("Petit", 9, state.PenColour, false, topLeft), surface.Picture()));
}

TEST_F(TextToolTest, UndoAfterACommitRemovesTheText) {
    clickAt(20, 100);
    type("Annuler");
    surface.Edit1KeyPress(13);
    surface.Undo();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(TextToolTest, UndoWithTheBoxOpenWritesTheTextIntoTheRestoredPicture) {
    clickAt(20, 100);
    type("Ouvert");
    QPoint topLeft(surface.textBox().left, surface.textBox().top);
    surface.Undo();
    EXPECT_TRUE(
        samePixels(written("Ouvert", 24, state.PenColour, true, topLeft), surface.Picture()));
}

TEST_F(TextToolTest, EscDropsTheTextAndShowsTheCaretBarAgain) {
    clickAt(20, 100);
    type("Rien");
    EXPECT_TRUE(surface.Edit1KeyPress(27));
    EXPECT_FALSE(surface.textBox().open);
    EXPECT_TRUE(surface.textBox().text.isEmpty());
    EXPECT_FALSE(samePixels(capture, surface.Picture())) << "the caret bar is back";
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
    EXPECT_FALSE(surface.Edit1KeyPress('a')) << "other keys are the box's own";
}

TEST_F(TextToolTest, CaretBarIsRemovedWithTheHeightItWasDrawnWith) {
    // A width change refreshes without parking first when the palette runs it that way;
    // the bar drawn at the old height must still go completely.
    state.PenWidth = 3;
    surface.RefreshToolSymbol({50, 80});
    hover(50, 80);
    state.PenWidth = 43;
    surface.RefreshToolSymbol({50, 80});
    hover(60, 90);
    surface.ParkToolSymbol();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}
