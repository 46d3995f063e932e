#include "controls/num_edit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <cmath>

namespace {

constexpr int kDefaultWidth = 81;
constexpr ushort kFirstPrintable = 0x20;
constexpr ushort kDelete = 0x7f;

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool allNumberKeys(const QString& typed) {
    for (QChar c : typed)
        if (!IsNumberKey(c))
            return false;
    return true;
}

} // namespace

double ReadNumberText(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    const qsizetype n = s.size();
    qsizetype i = 0;
    while (i < n && s[i] == QLatin1Char(' '))
        ++i;

    QString normal; // rebuilt as "[-]int.frac[e[-]exp]" for a locale-free conversion
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        if (s[i] == QLatin1Char('-'))
            normal += QLatin1Char('-');
        ++i;
    }
    QString whole, fraction;
    bool point = false;
    qsizetype mantissaStart = i;
    for (; i < n; ++i) {
        if (isDigit(s[i]))
            (point ? fraction : whole) += s[i];
        else if (s[i] == QLatin1Char('.') && !point)
            point = true;
        else
            break;
    }
    if (i == mantissaStart)
        return 0; // nothing after the sign
    normal += (whole.isEmpty() ? QStringLiteral("0") : whole) + QLatin1Char('.') +
              (fraction.isEmpty() ? QStringLiteral("0") : fraction);

    if (i < n && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        normal += QLatin1Char('e');
        if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
            normal += s[i++];
        qsizetype digitsStart = i;
        while (i < n && isDigit(s[i]))
            normal += s[i++];
        if (i == digitsStart)
            return 0;
    }
    if (i != n)
        return 0;

    bool ok = false;
    double value = normal.toDouble(&ok);
    // An overflowing exponent would give an infinite size to whoever reads the field.
    return ok && std::isfinite(value) ? value : 0;
}

QString WriteNumberText(double x, int decimals, const QLocale& locale) {
    if (!std::isfinite(x))
        x = 0;
    QString text = QString::number(x, 'f', decimals);
    // A value that rounds to zero shows no sign ("-0,0" would read as a different number).
    if (text.startsWith(QLatin1Char('-')) && ReadNumberText(text) == 0)
        text.remove(0, 1);
    // Only a separator the field reads back (and lets be typed) is written: in a locale with
    // another one ("٫") the value would read back as 0.
    const QString separator = locale.decimalPoint();
    if (separator == QLatin1String(","))
        text.replace(QLatin1Char('.'), separator);
    return text;
}

bool IsNumberKey(QChar c) {
    const ushort code = c.unicode();
    // Editing keys carry control characters as their text (X11 gives Delete "\x7f").
    return code < kFirstPrintable || code == kDelete || isDigit(c) || c == QLatin1Char(',') ||
           c == QLatin1Char('-') || c == QLatin1Char('.');
}

TNumEditQ::TNumEditQ(QWidget* parent) : TEdit2(parent) {
    resize(kDefaultWidth, height());
    setValue(0);
}

double TNumEditQ::Value() const {
    return ReadNumberText(text());
}

void TNumEditQ::setValue(double x) {
    const QString written = WriteNumberText(x, nkst_, QLocale());
    if (written != text())
        setText(written);
}

void TNumEditQ::keyPressEvent(QKeyEvent* event) {
    // Only typed characters are filtered; editing keys (arrows; Delete, whose text is
    // "\x7f" on X11) and shortcuts such as Ctrl+V pass, so pasted text is taken as it is.
    if (!event->text().isEmpty() && !allNumberKeys(event->text())) {
        event->accept();
        return;
    }
    TEdit2::keyPressEvent(event);
}

void TNumEditQ::inputMethodEvent(QInputMethodEvent* event) {
    if (!allNumberKeys(event->commitString()) || !event->preeditString().isEmpty()) {
        event->accept();
        return;
    }
    TEdit2::inputMethodEvent(event);
}

void TNumEditQ::focusOutEvent(QFocusEvent* event) {
    // The field's own context menu takes the focus only while it is open: the user is still
    // editing, so the text stays as typed until the focus really goes elsewhere.
    const QWidget* popup = QApplication::activePopupWidget();
    const bool ownPopup =
        event->reason() == Qt::PopupFocusReason && popup && popup->parentWidget() == this;
    if (!ownPopup)
        setValue(Value());
    TEdit2::focusOutEvent(event);
}
