#pragma once
// The file-save dialog of the Save command, reached through a function so that tests can
// answer it.

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Design texts, replaced by the run-time texts when the palette is first activated.
inline const QString kSaveDialogDesignTitle = "Bildschirminhalt speichern";
inline const QString kSaveDialogDesignFilter =
    "PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp|Alle Dateien (*.*)|*.*";
inline const QString kSaveDialogRunTimeTitle = "Enregistrer l'ecran";
inline const QString kSaveDialogRunTimeFilter =
    "PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp|Tous les fichiers (*.*)|*.*";

struct SaveDialogRequest {
    QString title;
    QString filter;        // descriptions and patterns, all separated by "|"
    int filterIndex = 1;   // 1 is the first pair
    QString fileName;      // the proposed full name; empty for none
    QString defaultSuffix; // appended to names typed without extension
};

struct SaveDialogAnswer {
    QString fileName;
    int filterIndex = 1;
};

// Shows the dialog modally; no answer when the user cancels. The dialog asks before an
// existing file is overwritten.
using SaveDialogRunner = std::function<std::optional<SaveDialogAnswer>(
    const SaveDialogRequest& request, QWidget* parent)>;

// Qt's form of a "|" filter: one "Description (patterns)" per pair.
QStringList qtNameFilters(const QString& filter);

// The platform's file-save dialog, run through execModal.
std::optional<SaveDialogAnswer> runFileSaveDialog(const SaveDialogRequest& request,
                                                  QWidget* parent);
