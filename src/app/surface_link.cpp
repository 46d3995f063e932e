#include "app/surface_link.h"

#include "surface/widget/screen_form.h"

namespace surface_link {
void ParkToolSymbol(TScreenForm& screen) {
    screen.ParkToolSymbol();
}
void RefreshToolSymbol(TScreenForm& screen) {
    screen.RefreshToolSymbol();
}
void SyncTextColour(TScreenForm& screen) {
    screen.SyncTextColour();
}
void ResetPointForToolChoice(TScreenForm& screen, int tool) {
    screen.ResetPointForToolChoice(tool);
}
void Undo(TScreenForm& screen) {
    screen.RueckgaengigBtnClick();
}
void Clear(TScreenForm& screen) {
    screen.ClearBtnClick();
}
} // namespace surface_link
