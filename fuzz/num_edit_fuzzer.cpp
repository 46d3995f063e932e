// The numeric field's reading of any text, and what it writes read back.
//
// Reading is checked against a second reader built from the C library: the text's syntax
// by hand, its value by strtod. Writing a value in a locale and reading the text back gives
// the value to within half the last decimal shown.
#include "controls/num_edit.h"
#include "fuzz_check.h"

#include <QLocale>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <optional>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value the field's syntax gives `text`: leading blanks, a sign, digits with at most one
// decimal point ("," or "."), an optional power of ten, nothing after. Not a number: 0.
double referenceValue(const std::string& text) {
    size_t i = text.find_first_not_of(' ');
    if (i == std::string::npos)
        return 0;
    std::string normal;
    if (text[i] == '+' || text[i] == '-')
        normal += text[i++];
    std::string whole, fraction;
    bool point = false;
    const size_t mantissa = i;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i]))
            (point ? fraction : whole) += text[i];
        else if ((text[i] == '.' || text[i] == ',') && !point)
            point = true;
        else
            break;
    }
    if (i == mantissa)
        return 0;
    normal += (whole.empty() ? "0" : whole) + "." + (fraction.empty() ? "0" : fraction);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += text[i++];
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            normal += text[i++];
        const size_t digits = i;
        while (i < text.size() && isDigit(text[i]))
            normal += text[i++];
        if (i == digits)
            return 0;
    }
    if (i != text.size())
        return 0;
    const double value = std::strtod(normal.c_str(), nullptr);
    return std::isfinite(value) ? value : 0;
}

bool isAscii(const QString& text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

// Readers may disagree on how far below the smallest normal double a value still counts.
bool sameReading(double a, double b) {
    return a == b || (std::fabs(a) < 1e-300 && std::fabs(b) < 1e-300);
}

// Locales whose decimal separator the field reads back ("," or ".").
const std::array<QLocale, 5> kLocales = {QLocale::c(), QLocale(QLocale::French, QLocale::France),
                                         QLocale(QLocale::German, QLocale::Germany),
                                         QLocale(QLocale::English, QLocale::UnitedStates),
                                         QLocale(QLocale::German, QLocale::Switzerland)};

TNumEditQ& field() {
    static TNumEditQ* edit = [] {
        fuzz::startQtApplication();
        return new TNumEditQ;
    }();
    return *edit;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_NUMERIC, "C"); // strtod's decimal point
    field();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int decimals = input.ConsumeIntegralInRange(0, 12);
    const QLocale& locale = kLocales[input.ConsumeIntegralInRange<size_t>(0, kLocales.size() - 1)];
    const bool asUtf16 = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    // Texts that are not plain ASCII are never numbers; UTF-16 gives any character a chance.
    const QString text =
        asUtf16
            ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2)
            : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    TNumEditQ& edit = field();
    edit.setText(text);
    const double value = edit.Value();
    FUZZ_CHECK(std::isfinite(value));
    if (isAscii(text)) {
        const double expected = referenceValue(text.toStdString());
        FUZZ_CHECK(sameReading(value, expected), "text \"%s\" read %.17g, expected %.17g",
                   qPrintable(text), value, expected);
    } else {
        FUZZ_CHECK(value == 0, "non-ASCII text read as %.17g", value);
    }

    // What the field shows for the value reads back as the value rounded to its decimals.
    QLocale::setDefault(locale);
    edit.setNkst(quint8(decimals));
    edit.setValue(value);
    const QString shown = edit.text();
    const double back = edit.Value();
    const double tolerance = 0.5 * std::pow(10.0, -decimals) + 4e-16 * std::fabs(value);
    FUZZ_CHECK(std::fabs(back - value) <= tolerance,
               "%.17g shown as \"%s\" with %d decimals in %s reads %.17g", value, qPrintable(shown),
               decimals, qPrintable(locale.name()), back);
    FUZZ_CHECK(!shown.startsWith('-') || back != 0, "\"%s\" shows a sign on zero",
               qPrintable(shown));
    // Showing it again changes nothing.
    edit.setValue(back);
    FUZZ_CHECK(edit.text() == shown, "\"%s\" became \"%s\"", qPrintable(shown),
               qPrintable(edit.text()));
    return 0;
}
