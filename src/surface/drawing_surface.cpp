#include "surface/drawing_surface.h"

void DrawingSurface::StartPhase(const QImage& capture) {
    screenPicture_ = capture.convertToFormat(QImage::Format_RGB32);
    undoPicture_ = screenPicture_.copy();
    AnchorPoint = CurrentPoint = None;
    SavedAnchor = SavedPoint = None;
    picture_ = screenPicture_.copy();
}
