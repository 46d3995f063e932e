#include "output/save_dialog.h"

#include "controls/modal.h"

#include <QFileDialog>
#include <QFileInfo>

QStringList qtNameFilters(const QString& filter) {
    QStringList parts = filter.split('|');
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed().replace(';', ' ');
        // Qt reads the patterns from the parentheses; descriptions that already show them
        // stay as they are.
        if (description.endsWith('(' + patterns + ')'))
            result << description;
        else
            result << QString("%1 (%2)").arg(description, patterns);
    }
    return result;
}

std::optional<SaveDialogAnswer> runFileSaveDialog(const SaveDialogRequest& request,
                                                  QWidget* parent) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters = qtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty()) {
        QFileInfo proposed(request.fileName);
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
    }

    if (execModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveDialogAnswer answer;
    answer.fileName = dialog.selectedFiles().constFirst();
    qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    answer.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
    return answer;
}
