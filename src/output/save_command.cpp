#include "output/save_command.h"

#include "controls/message_box.h"
#include "output/file_extension.h"
#include "output/save_bitmap.h"

SaveCommand::SaveCommand(SaveDialogRunner dialog) : dialog_(std::move(dialog)) {
    state_.title = kSaveDialogDesignTitle;
    state_.filter = kSaveDialogDesignFilter;
    state_.filterIndex = 1;
    state_.defaultSuffix = "jpg";
}

void SaveCommand::setTexts(const QString& title, const QString& filter) {
    state_.title = title;
    state_.filter = filter;
}

SaveCommand::Outcome SaveCommand::run(const QImage& picture, QWidget* parent) {
    // Before the first Start there is no picture; an empty file would only mislead.
    if (picture.isNull()) {
        showMessage(MessageKind::Information, kNothingToSaveMessage, parent);
        return Outcome::NothingToSave;
    }
    std::optional<SaveDialogAnswer> answer = dialog_(state_, parent);
    if (!answer)
        return Outcome::Cancelled;
    // Kept even when refused below, so the next Save offers the name to correct.
    state_.fileName = answer->fileName;
    state_.filterIndex = answer->filterIndex;

    if (!isSaveableExtension(lowerCaseExtension(answer->fileName))) {
        showMessage(MessageKind::Error, kRefusedExtensionMessage, parent);
        return Outcome::Refused;
    }
    return SaveBitmapToFile(picture, answer->fileName, parent) ? Outcome::Saved : Outcome::Failed;
}
