#include "controls/meld_form.h"

#include "controls/font_points.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

TMeldForm::TMeldForm(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setWindowTitle(QStringLiteral("Information"));
    setFixedSize(313, 97);
    setFont(PixelFont(QStringLiteral("Arial"), 11));
    QPalette look = palette();
    look.setColor(QPalette::WindowText, Qt::black);
    setPalette(look);

    Panel1 = new QFrame(this);
    Panel1->setGeometry(8, 8, 297, 81);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);

    InfoLab = new TShadowLabel(Panel1);
    InfoLab->setGeometry(6, 6, 281, 65);
    InfoLab->setAlignment(Qt::AlignHCenter);
    InfoLab->setLayout(TShadowLabel::tlCenter);
    InfoLab->setAutoSize(false);
    InfoLab->setTransparent(true);
    InfoLab->setShadow(0);
    InfoLab->setCaption(QStringLiteral("XXX"));
}

void TMeldForm::ShowText(const QString& text) {
    InfoLab->setCaption(text);
    show();
    raise();
    repaint();
    QCoreApplication::processEvents();
}

void TMeldForm::showEvent(QShowEvent* event) {
    // Centred when first shown; later the window stays where the user put it.
    if (!placed_)
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
            placed_ = true;
        }
    QWidget::showEvent(event);
}
