#include "app/phase_commands.h"

#include "app/tool_form.h"

#include <QApplication>

void CarryOutPhaseCommand(TToolForm& palette, PhaseCommand command) {
    if (!palette.StartedUp) {
        const bool start = command == PhaseCommand::Start ||
                           (command == PhaseCommand::Toggle && !palette.StartWhenStartedUp);
        palette.StartWhenStartedUp = start;
        return;
    }
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    const bool wanted =
        command == PhaseCommand::Toggle ||
        (command == PhaseCommand::Start && palette.PaletteState == TToolForm::Phase::Idle) ||
        (command == PhaseCommand::Finish && palette.PaletteState == TToolForm::Phase::Drawing);
    if (wanted)
        palette.StartFertigBtnClick();
}
