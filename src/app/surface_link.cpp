#include "app/surface_link.h"

#include "surface/widget/screen_form.h"

namespace surface_link {
void ParkToolSymbol(TScreenForm&) {}
void RefreshToolSymbol(TScreenForm&) {}
void SyncTextColour(TScreenForm&) {}
void Undo(TScreenForm&) {}
void Clear(TScreenForm&) {}
} // namespace surface_link
