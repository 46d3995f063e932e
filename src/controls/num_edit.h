#pragma once
// TNumEditQ: a one-line field for a decimal number. It takes "," and "." alike as the
// decimal point, lets only the characters of a number be typed, and shows its value with
// a fixed number of decimals and the locale's decimal separator.

#include <QLineEdit>
#include <QLocale>
#include <QString>

// The number a field's text holds, or 0 when the whole text is not a number. Both "," and
// "." are decimal points; leading blanks, a sign and a power of ten ("1e2") are allowed,
// nothing may follow the number (not even a blank). The locale plays no part.
double ReadNumberText(const QString& text);

// x in fixed notation with `decimals` places, rounded, without thousands separators, with
// `locale`'s decimal separator.
QString WriteNumberText(double x, int decimals, const QLocale& locale);

// Whether typing `c` may reach the field: control characters (Delete too), digits, ",", "-"
// and ".".
bool IsNumberKey(QChar c);

// The intermediate edit class; it adds nothing to the line edit.
class TEdit2 : public QLineEdit {
    Q_OBJECT
public:
    explicit TEdit2(QWidget* parent = nullptr) : QLineEdit(parent) {}
};

class TNumEditQ : public TEdit2 {
    Q_OBJECT
public:
    explicit TNumEditQ(QWidget* parent = nullptr);

    // Decimal places shown by the next write of Value; setting it leaves the text alone.
    quint8 Nkst() const { return nkst_; }
    void setNkst(quint8 places) { nkst_ = places; }

    // Reading parses the text; writing replaces it (textChanged fires only when the text
    // really changes). Decimals come from Nkst, the separator from the default QLocale.
    double Value() const;
    void setValue(double x);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    quint8 nkst_ = 1;
};
