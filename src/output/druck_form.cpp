#include "output/druck_form.h"

#include "controls/bit_button.h"
#include "controls/dialog_look.h"
#include "controls/font_points.h"
#include "controls/meld_form.h"
#include "controls/message_box.h"
#include "controls/modal.h"
#include "controls/num_edit.h"
#include "output/print_picture.h"
#include "platform/printer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace {

QLabel* label(QWidget* parent, int x, int y, const QString& text, QWidget* buddy = nullptr) {
    auto* result = new QLabel(text, parent);
    result->move(x, y);
    result->adjustSize();
    result->setBuddy(buddy);
    return result;
}

TNumEditQ* numberField(QWidget* parent, int x, int y, double value) {
    auto* field = new TNumEditQ(parent);
    field->setGeometry(x, y, 57, 20);
    field->setValue(value);
    return field;
}

TBitBtn2* dialogButton(QWidget* parent, int x, const QString& caption) {
    return MakeDialogButton(parent, caption, QRect(x, 200, 97, 25));
}

// Hides the message window when the print command leaves, however it leaves.
class MeldWindowShown {
public:
    MeldWindowShown(TMeldForm* window, const QString& text) : window_(window) {
        if (window_)
            window_->ShowText(text);
    }
    ~MeldWindowShown() { hide(); }
    void hide() {
        if (window_)
            window_->hide();
    }

private:
    TMeldForm* window_;
};

} // namespace

TDruckForm::TDruckForm(PrinterDevice& printer, TMeldForm* meldForm, QWidget* parent)
    : QDialog(parent), printer_(printer), meldForm_(meldForm) {
    setWindowTitle(QStringLiteral("Bildschirminhalt drucken"));
    setFixedSize(457, 239);
    UseDialogLook(*this);

    Panel1 = new QWidget(this);
    Panel1->setGeometry(0, 0, 457, 193);

    PosGroupBox = new QGroupBox(QString::fromUtf8(" Position und Größe "), Panel1);
    PosGroupBox->setGeometry(16, 12, 425, 97);
    LiRandEdit = numberField(PosGroupBox, 112, 22, 2.5);
    ObRandEdit = numberField(PosGroupBox, 112, 46, 1.8);
    BreiteEdit = numberField(PosGroupBox, 312, 22, 16.0);
    HoeheEdit = numberField(PosGroupBox, 312, 46, 17.0);
    LiRandLab = label(PosGroupBox, 24, 24, QStringLiteral("&Linker Rand:"), LiRandEdit);
    Label4 = label(PosGroupBox, 176, 24, QStringLiteral("cm"));
    ObRandLab = label(PosGroupBox, 24, 48, QStringLiteral("&Oberer Rand:"), ObRandEdit);
    Label8 = label(PosGroupBox, 176, 48, QStringLiteral("cm"));
    BreiteLab = label(PosGroupBox, 248, 24, QStringLiteral("&Breite:"), BreiteEdit);
    Label6 = label(PosGroupBox, 376, 24, QStringLiteral("cm"));
    HoeheLab = label(PosGroupBox, 248, 48, QString::fromUtf8("&Höhe:"), HoeheEdit);
    Label10 = label(PosGroupBox, 376, 48, QStringLiteral("cm"));
    SeitRatio = new QCheckBox(QString::fromUtf8("Korrektes &Seitenverhältnis"), PosGroupBox);
    SeitRatio->setGeometry(24, 72, 185, 17);
    SeitRatio->setChecked(true);

    DruckerGroupBox = new QGroupBox(QStringLiteral(" Drucker "), Panel1);
    DruckerGroupBox->setGeometry(16, 124, 425, 53);
    DruckerInfo = new QLabel(QStringLiteral("-"), DruckerGroupBox);
    DruckerInfo->setGeometry(10, 16, 399, 29);
    DruckerInfo->setAlignment(Qt::AlignCenter);

    DruckBtn = dialogButton(this, 136, QStringLiteral("Drucken"));
    DruckBtn->setDefault(true);
    // No modal result on the button: a button with one ends the dialog before its handler
    // runs, and hiding the dialog takes the focus from a field still being edited, which
    // reformats it ("2,55" would print as 2,5). DruckBtnClick ends the dialog with OK itself,
    // after the job, so the dialog also stays under the message window while it runs.
    AbbrBtn = dialogButton(this, 240, QStringLiteral("Abbrechen"));
    AbbrBtn->setCancel(true); // Esc
    AbbrBtn->setModalResult(kModalCancel);
    DrEinrBtn = dialogButton(this, 344, QStringLiteral("Einrichten..."));

    // The buttons first, then the fields and the check box in the panel.
    QWidget* order[] = {DruckBtn,   AbbrBtn,    DrEinrBtn, LiRandEdit,
                        ObRandEdit, BreiteEdit, HoeheEdit, SeitRatio};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    connect(DruckBtn, &TBitBtn2::Click, this, &TDruckForm::DruckBtnClick);
    connect(DrEinrBtn, &TBitBtn2::Click, this, &TDruckForm::DrEinrBtnClick);
    // Only a click (or the space bar) runs the coupling; setting the state from the stored
    // settings does not, so it never recomputes the height.
    connect(SeitRatio, &QCheckBox::clicked, this, &TDruckForm::SeitRatioClick);
    connect(BreiteEdit, &QLineEdit::textChanged, this, &TDruckForm::BreiteEditChange);
    connect(HoeheEdit, &QLineEdit::textChanged, this, &TDruckForm::HoeheEditChange);
}

int TDruckForm::Execute() {
    FormActivate();
    return execModal(*this);
}

void TDruckForm::ApplyRunTimeTexts() {
    setWindowTitle(QStringLiteral("Imprimer l'ecran"));
    PosGroupBox->setTitle(QStringLiteral(" Position et taille "));
    DruckBtn->setText(QStringLiteral("Imprimer"));
    AbbrBtn->setText(QStringLiteral("Annuler"));
    DrEinrBtn->setText(QString::fromUtf8("Réglages..."));
    DruckerGroupBox->setTitle(QStringLiteral(" Imprimante "));
    LiRandLab->setText(QStringLiteral("&Gauche:"));
    ObRandLab->setText(QStringLiteral("&Haut:"));
    BreiteLab->setText(QStringLiteral("&Largeur"));
    HoeheLab->setText(QStringLiteral("Hau&teur"));
    SeitRatio->setText(QStringLiteral("Conserver les &proportions"));
    for (QLabel* caption : {LiRandLab, ObRandLab, BreiteLab, HoeheLab})
        caption->adjustSize();
}

QImage TDruckForm::picture() const {
    return pictureSource_ ? pictureSource_() : QImage();
}

void TDruckForm::FormActivate() {
    const QImage shown = picture();
    // Before the first Start the picture is empty: no ratio, and the coupling stands still.
    pictureRatio_ = shown.height() > 0 && shown.width() > 0
                        ? double(shown.width()) / double(shown.height())
                        : 0.0;
    UpdateDruckerInfo();
    SeitRatioClick();
    DruckBtn->setFocus();
}

void TDruckForm::UpdateDruckerInfo() {
    const QString device = printer_.DeviceName();
    const QString port = printer_.PortName();
    if (device.isEmpty())
        DruckerInfo->setText(kNoPrinterLine);
    else if (port.isEmpty())
        DruckerInfo->setText(device);
    else
        DruckerInfo->setText(device + QStringLiteral(" an ") + port);
}

void TDruckForm::DrEinrBtnClick() {
    printer_.RunSetupDialog(this, [](QDialog& dialog) { return execModal(dialog); });
    UpdateDruckerInfo();
}

void TDruckForm::SeitRatioClick() {
    if (SeitRatio->isChecked() && pictureRatio_ > 0)
        HoeheEdit->setValue(BreiteEdit->Value() / pictureRatio_);
}

// The focus test keeps the two handlers from feeding each other: writing the partner field
// fires its change handler, which does nothing because the partner has no focus.
void TDruckForm::BreiteEditChange() {
    if (SeitRatio->isChecked() && BreiteEdit->hasFocus() && pictureRatio_ > 0)
        HoeheEdit->setValue(BreiteEdit->Value() / pictureRatio_);
}

void TDruckForm::HoeheEditChange() {
    if (SeitRatio->isChecked() && HoeheEdit->hasFocus() && pictureRatio_ > 0)
        BreiteEdit->setValue(HoeheEdit->Value() * pictureRatio_);
}

void TDruckForm::DruckBtnClick() {
    // The values as they stand, also in a field still being edited: read before anything
    // (the message window lets events run) could take the focus from the field.
    const double left = LiRandEdit->Value();
    const double top = ObRandEdit->Value();
    const double width = BreiteEdit->Value();
    const double height = HoeheEdit->Value();

    const QImage shown = picture();
    if (shown.isNull() || shown.width() <= 0 || shown.height() <= 0) {
        done(kModalOk);
        showMessage(MessageKind::Information, kNothingToPrintMessage);
        return;
    }

    Outcome printed = Outcome::ok();
    {
        MeldWindowShown waiting(meldForm_, kPrintWaitMessage);
        if (const std::optional<Placement> placement =
                PlacementFromCentimetres(left, top, width, height))
            printed = PrintPicture(printer_, shown, *placement);
        else
            printed = Outcome::failed(kRangeCheckMessage);
        waiting.hide();
    }
    done(kModalOk);
    if (!printed)
        showMessage(MessageKind::AppError, printed.message());
}

void TDruckForm::showEvent(QShowEvent* event) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QDialog::showEvent(event);
}
