#pragma once
// The palette's way into the drawing surface: the operations the palette runs there after a
// choice or a command.

class TScreenForm;

namespace surface_link {
void ParkToolSymbol(TScreenForm& screen);
void RefreshToolSymbol(TScreenForm& screen);
void SyncTextColour(TScreenForm& screen);
// A tool choice drops a shape begun with the previous tool.
void ResetPointForToolChoice(TScreenForm& screen, int tool);
void Undo(TScreenForm& screen);
void Clear(TScreenForm& screen);
} // namespace surface_link
