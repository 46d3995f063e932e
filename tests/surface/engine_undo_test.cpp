// Undo and clear: one press deep, symbols taken off exactly, the snapshot reused.
#include "engine_fixture.h"

using testsupport::samePixels;

TEST_F(EngineTest, UndoAfterALineIsPixelIdenticalToBeforeThePressWithNoSymbolLeft) {
    stroke({5, 5}, {50, 30});
    surface.Undo();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
    EXPECT_EQ(surface.CurrentPoint, DrawingSurface::kNoPoint);
}

TEST_F(EngineTest, TwoLinesThenTwoUndosRemoveOnlyTheSecond) {
    stroke({5, 5}, {50, 30});
    surface.ParkToolSymbol();
    QImage afterFirst = surface.Picture().copy();
    stroke({5, 40}, {55, 10});
    surface.Undo();
    EXPECT_TRUE(samePixels(afterFirst, surface.Picture()));
    surface.Undo();
    EXPECT_TRUE(samePixels(afterFirst, surface.Picture()));
}

TEST_F(EngineTest, DrawClearUndoRestoresTheDrawing) {
    stroke({5, 5}, {50, 30});
    surface.ParkToolSymbol();
    QImage afterFirst = surface.Picture().copy();
    stroke({5, 40}, {55, 10});
    surface.Clear();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
    surface.Undo();
    EXPECT_TRUE(samePixels(afterFirst, surface.Picture()));
}

TEST_F(EngineTest, UndoRightAfterStartGivesTheCapture) {
    hover(20, 20);
    surface.Undo();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(EngineTest, AFreehandStrokeIsUndoneWhole) {
    state.PenWidth = 7;
    choose(ToolPen);
    hover(5, 5);
    press(5, 5);
    for (int i = 1; i < 20; ++i)
        drag(5 + 2 * i, 5 + (i * i) % 37);
    release(43, 20);
    hover(43, 20);
    surface.Undo();
    EXPECT_TRUE(samePixels(capture, surface.Picture()));
}

TEST_F(EngineTest, UndoAfterAWidthOrToolChangeStillTakesOffTheSymbolOfThePress) {
    // The snapshot holds the width-3 pen circle; by the undo the width is 21 and then the
    // tool is the eraser, whose symbols differ. The old symbol must go all the same.
    for (int newTool : {ToolPen, ToolEraser}) {
        SCOPED_TRACE(testing::Message() << "tool after " << newTool);
        start(noisyCapture(61, 47, newTool));
        state.PenWidth = 3;
        choose(ToolPen);
        stroke({20, 20}, {30, 30});
        surface.ParkToolSymbol();
        state.PenWidth = 21;
        surface.RefreshToolSymbol({40, 10});
        choose(newTool);
        surface.RefreshToolSymbol({40, 10});
        surface.Undo();
        EXPECT_TRUE(samePixels(capture, surface.Picture()));
    }
}

TEST_F(EngineTest, PressTakesTheSnapshotIntoTheSameMemory) {
    stroke({5, 5}, {50, 30});
    const uchar* memory = surface.UndoPicture().constBits();
    stroke({5, 40}, {55, 10});
    stroke({15, 40}, {25, 10});
    EXPECT_EQ(memory, surface.UndoPicture().constBits());
}

TEST_F(EngineTest, ANewPhaseForgetsTheDrawingAndItsUndo) {
    stroke({5, 5}, {50, 30});
    QImage second = noisyCapture(61, 47, 99);
    start(second);
    surface.Undo();
    EXPECT_TRUE(samePixels(second, surface.Picture()));
}
