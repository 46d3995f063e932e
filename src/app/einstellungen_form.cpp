#include "app/einstellungen_form.h"

#include "controls/bit_button.h"
#include "controls/dialog_look.h"
#include "controls/modal.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>

namespace {

// Radio buttons of one group uncheck each other, and Qt refuses to uncheck the checked one;
// an unknown pointer mode must still show neither.
void setRadioChecked(QRadioButton* radio, bool checked) {
    radio->setAutoExclusive(false);
    radio->setChecked(checked);
    radio->setAutoExclusive(true);
}

TBitBtn2* dialogButton(QWidget* parent, int x, const QString& caption) {
    return MakeDialogButton(parent, caption, QRect(x, 205, 97, 25));
}

} // namespace

TEinstellungenForm::TEinstellungenForm(GlobalSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Einstellungen"));
    setFixedSize(457, 245);
    UseDialogLook(*this);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 0, 457, 198);

    GroupBox1 = new QGroupBox(QStringLiteral(" Mauszeiger auf Zeichenfläche "), Panel1);
    GroupBox1->setGeometry(16, 12, 425, 61);
    RadioMauszeiger1 = new QRadioButton(QStringLiteral(" normal "), GroupBox1);
    RadioMauszeiger1->setGeometry(24, 26, 121, 17);
    RadioMauszeiger2 =
        new QRadioButton(QStringLiteral(" ausblenden (nur Werkzeugsymbol)"), GroupBox1);
    RadioMauszeiger2->setGeometry(152, 26, 257, 17);

    GroupBox2 = new QGroupBox(QStringLiteral(" Programmstart und -ende "), Panel1);
    GroupBox2->setGeometry(16, 92, 425, 85);
    AutoOpenCheck = new QCheckBox(
        QStringLiteral(" Zeichenfunktionen sofort bei Programmstart öffnen "), GroupBox2);
    AutoOpenCheck->setGeometry(24, 28, 385, 17);
    AutoCloseCheck = new QCheckBox(
        QStringLiteral(" Mit Klick auf 'Fertig' [F9] gesamtes Programm beenden "), GroupBox2);
    AutoCloseCheck->setGeometry(24, 52, 385, 17);

    // The dialog has a fixed size, so the buttons' anchoring to the lower right never moves them.
    OkBtn = dialogButton(this, 240, QStringLiteral("OK"));
    OkBtn->setDefault(true);
    OkBtn->setModalResult(kModalOk);
    AbbrBtn = dialogButton(this, 344, QStringLiteral("Abbrechen"));
    AbbrBtn->setCancel(true); // Esc
    AbbrBtn->setModalResult(kModalCancel);
}

void TEinstellungenForm::FormActivate() {
    setRadioChecked(RadioMauszeiger1, settings_.MauszeigerMode == kNormalPointer);
    setRadioChecked(RadioMauszeiger2, settings_.MauszeigerMode == kToolSymbolOnly);
    AutoOpenCheck->setChecked(settings_.AutoOpen);
    AutoCloseCheck->setChecked(settings_.AutoClose);
}

void TEinstellungenForm::ApplyRunTimeTexts() {
    setWindowTitle(QStringLiteral("Réglages"));
    GroupBox1->setTitle(QStringLiteral(" Style du curseur à l'écran "));
    RadioMauszeiger1->setText(QStringLiteral(" Par défaut "));
    RadioMauszeiger2->setText(QStringLiteral(" Aucun "));
    GroupBox2->setTitle(QStringLiteral(" Options pour l'ouverture et la fermeture "));
    AutoOpenCheck->setText(
        QStringLiteral(" figer l'écran et ouvrir la barre d'outil automatiquement "));
    AutoCloseCheck->setText(
        QStringLiteral(" cliquer sur 'Terminer' [F9] pour fermer le programme "));
    AbbrBtn->setText(QStringLiteral("Annuler"));
}

void TEinstellungenForm::showEvent(QShowEvent* event) {
    FormActivate();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

bool EinstellBtnClick(TEinstellungenForm& form, const std::function<void(int)>& applyCursorMode) {
    form.FormActivate(); // also when a test answers the dialog without showing it
    if (execModal(form) != kModalOk)
        return false;
    GlobalSettings& settings = form.settings();
    settings.MauszeigerMode = form.RadioMauszeiger2->isChecked() ? kToolSymbolOnly : kNormalPointer;
    if (applyCursorMode)
        applyCursorMode(settings.MauszeigerMode);
    settings.AutoOpen = form.AutoOpenCheck->isChecked();
    settings.AutoClose = form.AutoCloseCheck->isChecked();
    return true;
}
