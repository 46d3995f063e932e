#include "controls/info_box.h"

#include "controls/dialog_look.h"
#include "controls/document_opener.h"
#include "controls/font_points.h"
#include "controls/info_texts.h"
#include "controls/modal.h"
#include "controls/program_icon.h"

#include <QApplication>
#include <QScreen>

namespace {

const QColor kBrownGreen(0x80, 0x80, 0x40);
const QColor kLightYellow(0xFF, 0xFF, 0x80);

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

// A label at (x, y) that takes the size of its text.
template <class Label = QLabel> Label* label(QWidget* parent, int x, int y, const QString& text) {
    auto* made = new Label(text, parent);
    made->move(x, y);
    made->adjustSize();
    return made;
}

void setLabelText(QLabel* target, const QString& text) {
    target->setText(text);
    if (!target->wordWrap())
        target->adjustSize();
}

ClickLabel* link(QWidget* parent, int x, int y, const QString& caption, QFont font) {
    font.setUnderline(true);
    auto* made = new ClickLabel(caption, parent);
    made->setFont(font);
    setTextColour(made, Qt::blue);
    made->setCursor(Qt::PointingHandCursor);
    made->move(x, y);
    made->adjustSize();
    return made;
}

TBitBtn2* button(QWidget* parent, int y, const QString& caption) {
    auto* made = MakeDialogButton(parent, caption, QRect(312, y, 89, 25));
    made->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    setTextColour(made, Qt::black);
    QPalette palette = made->palette();
    palette.setColor(QPalette::ButtonText, Qt::black);
    made->setPalette(palette);
    return made;
}

QPlainTextEdit* memo(QWidget* parent, const QRect& place) {
    auto* made = new QPlainTextEdit(parent);
    made->setGeometry(place);
    made->setReadOnly(true);
    made->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return made;
}

} // namespace

TInfoBox::TInfoBox(const QString& versionText, const QString& helpFolder,
                   const QString& helpFileName, QWidget* parent)
    : QDialog(parent), versionText_(versionText), helpFolder_(helpFolder),
      helpFileName_(helpFileName) {
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(412, 552);
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    createControls();
    FormCreate();
}

void TInfoBox::createControls() {
    // The buttons come first so that they lead the tab order, as the layout wants.
    EinstellBtn = button(this, 451, QStringLiteral("Einstellungen..."));
    HilfeBtn = button(this, 483, QStringLiteral("Hilfe"));
    OkBtn = button(this, 515, QString::fromUtf8("Schließen"));
    OkBtn->setCancel(true);
    OkBtn->setModalResult(kModalOk);
    connect(EinstellBtn, &TBitBtn2::Click, this, &TInfoBox::EinstellBtnClick);
    connect(HilfeBtn, &TBitBtn2::Click, this, &TInfoBox::HilfeBtnClick);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 393, 428);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);

    Image1 = new QLabel(Panel1);
    Image1->setGeometry(20, 16, 61, 58);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    TitelLabel = label(Panel1, 72, 16, QString());
    TitelLabel->setFont(PixelFont(QStringLiteral("Arial"), 16, true));

    // Disabled so that neither the version nor the notice takes the focus; their text
    // keeps the enabled look.
    Panel2 = new QWidget(Panel1);
    Panel2->setGeometry(64, 36, 313, 133);
    Panel2->setEnabled(false);
    QPalette enabledLook = Panel2->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role)
        enabledLook.setColor(QPalette::Disabled, QPalette::ColorRole(role),
                             enabledLook.color(QPalette::Active, QPalette::ColorRole(role)));
    Panel2->setPalette(enabledLook);

    VersionLabel = label(Panel2, 8, 4, QString());
    Memo1 = memo(Panel2, QRect(8, 24, 297, 105));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 12));
    QPalette memoLook = Memo1->palette();
    memoLook.setColor(QPalette::Base, palette().color(QPalette::Window));
    memoLook.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(memoLook);
    Memo1->setPlainText(infotexts::Memo1Design());

    Label2 = label(Panel1, 72, 172, QStringLiteral("Internet:"));
    setTextColour(Label2, Qt::black);
    Label1 = link(Panel1, 120, 172, infotexts::ProductCaption(), font());
    Label1->OnClick = [this] {
        Label1Click();
    };

    Memo2 = memo(Panel1, QRect(72, 200, 297, 186));
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo2->setPlainText(infotexts::Memo2Design());

    LabUebersetzDanke = new QLabel(QStringLiteral(" "), Panel1);
    LabUebersetzDanke->setGeometry(72, 394, 297, 33);
    LabUebersetzDanke->setWordWrap(true);
    LabUebersetzDanke->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Panel3 = new QFrame(this);
    Panel3->setGeometry(8, 451, 297, 89);
    Panel3->setAutoFillBackground(true);
    QPalette advertLook = Panel3->palette();
    advertLook.setColor(QPalette::Window, kLightYellow);
    Panel3->setPalette(advertLook);

    LabSurftipp = label(Panel3, 16, 10, QStringLiteral("Surftipp:"));
    QFont bold = font();
    bold.setBold(true);
    LabSurftipp->setFont(bold);
    setTextColour(LabSurftipp, kBrownGreen);
    LabSurftipp->adjustSize();

    LabOnlinerechner = new QLabel(QString::fromUtf8("Onlinerechner für Ihre Finanzen"), Panel3);
    LabOnlinerechner->setGeometry(16, 25, 201, 36);
    LabOnlinerechner->setFont(PixelFont(QStringLiteral("Arial"), 12, true));
    LabOnlinerechner->setWordWrap(true);
    LabOnlinerechner->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label3 = link(Panel3, 16, 61, infotexts::AdvertCaption(),
                  PixelFont(QStringLiteral("Arial"), 11, true));
    Label3->OnClick = [this] {
        Label3Click();
    };

    Label6 = label(Panel3, 232, 16, QStringLiteral("%"));
    Label6->setFont(PixelFont(QStringLiteral("Arial"), 53));
    setTextColour(Label6, kBrownGreen);
    Label6->adjustSize();

    setTabOrder(EinstellBtn, HilfeBtn);
    setTabOrder(HilfeBtn, OkBtn);
    setTabOrder(OkBtn, Memo2);
}

void TInfoBox::FormCreate() {
    const QIcon icon =
        QApplication::windowIcon().isNull() ? ProgramIcon() : QApplication::windowIcon();
    Image1->setPixmap(icon.pixmap(QSize(40, 40)));
    setLabelText(TitelLabel, QApplication::applicationDisplayName());
    setLabelText(VersionLabel, QStringLiteral("Version ") + versionText_);
}

void TInfoBox::ApplyRunTimeTexts() {
    Memo1->setPlainText(infotexts::Memo1French());
    Memo2->setPlainText(infotexts::Memo2French());
    HilfeBtn->setText(QStringLiteral("Aide"));
    EinstellBtn->setText(QString::fromUtf8("Réglages..."));
    OkBtn->setText(QStringLiteral("Fermer"));
    setLabelText(LabSurftipp, QStringLiteral("Service gratuit (en allemand):"));
    setLabelText(LabOnlinerechner, QStringLiteral("Calculateurs de finances"));
    setLabelText(LabUebersetzDanke, infotexts::TranslatorThanks());
}

QString TInfoBox::HelpAddress() const {
    return QStringLiteral("file://") + helpFolder_ + helpFileName_;
}

void TInfoBox::HilfeBtnClick() {
    OpenDocument(HelpAddress());
}

void TInfoBox::Label1Click() {
    OpenDocument(infotexts::ProductAddress());
}

void TInfoBox::Label3Click() {
    OpenDocument(infotexts::AdvertAddress());
}

void TInfoBox::EinstellBtnClick() {
    emit EinstellBtnClicked();
}

void TInfoBox::showEvent(QShowEvent* event) {
    // Centred on the screen when first shown; later where the user left it.
    if (!placed_)
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
            placed_ = true;
        }
    EinstellBtn->setFocus();
    QDialog::showEvent(event);
}
