#pragma once
// A drawing phase command from a later start of the program, carried out by the palette.

#include "platform/phase_command_channel.h"

class TToolForm;

// Does what a click on the Start/Finish button would do when the command asks for it: Start
// only starts, Finish only finishes, Toggle does whichever applies. While the button cannot
// be clicked (a dialog or menu is open, a phase is ending) the command is dropped; before the
// start-up steps are done a start waits for them.
void CarryOutPhaseCommand(TToolForm& palette, PhaseCommand command);
