#pragma once
// The Save command of the palette. It owns the state of its dialog for the whole run: the
// title and filter texts, the filter chosen last (PNG at first) and the name chosen last,
// which the next Save proposes again.

#include "output/save_dialog.h"

#include <QImage>

class QWidget;

class SaveCommand {
public:
    enum class Outcome {
        Saved,
        Failed,        // the failure has been shown
        Cancelled,     // the user closed the dialog
        Refused,       // the extension is none of ".png", ".jpg", ".bmp"; shown
        NothingToSave, // no picture yet; shown
    };

    explicit SaveCommand(SaveDialogRunner dialog = runFileSaveDialog);

    // The dialog's texts; the design texts until the run-time texts are set.
    void setTexts(const QString& title, const QString& filter);

    // Asks for a name and writes `picture` under it (the palette's SaveBtnClick).
    Outcome run(const QImage& picture, QWidget* parent = nullptr);

    // What the next dialog will show.
    const SaveDialogRequest& dialogState() const { return state_; }

private:
    SaveDialogRunner dialog_;
    SaveDialogRequest state_;
};

inline const QString kRefusedExtensionMessage =
    "Impossble de sauvegarder le fichier: le format choisi n'est pas reconnu.";
inline const QString kNothingToSaveMessage =
    "Il n'y a encore rien à enregistrer : cliquez d'abord sur « Lancer » pour figer l'écran.";
