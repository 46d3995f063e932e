#include "output/save_dialog.h"

#include "controls/modal.h"

#include <QComboBox>
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

namespace {

// "*.*" means every file, but Qt's own dialog reads it as every name with a dot and, when the
// user picks it, puts its extension "*" in place of the typed one ("shot.png" becomes
// "shot.*"). Qt is given "*" for it, while the list of filters shows the entry as written.
QStringList everyFileAsStar(QStringList filters) {
    for (QString& filter : filters)
        if (filter.endsWith(QLatin1String("(*.*)")))
            filter.replace(filter.size() - 4, 3, QLatin1String("*"));
    return filters;
}

} // namespace

std::optional<SaveDialogAnswer> runFileSaveDialog(const SaveDialogRequest& request,
                                                  QWidget* parent) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(request.filter);
    // The desktop's own dialog, when there is one, reads "*.*" as it is meant.
    auto* shownFilters = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    dialog.setNameFilters(shownFilters ? everyFileAsStar(filters) : filters);
    if (shownFilters)
        for (int i = 0; i < shownFilters->count() && i < filters.size(); ++i)
            shownFilters->setItemText(i, filters[i]);
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
    const qsizetype chosen =
        shownFilters ? shownFilters->currentIndex() : filters.indexOf(dialog.selectedNameFilter());
    answer.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : request.filterIndex;
    return answer;
}
