#include "raster/fonts.h"

#include <QFontDatabase>

namespace raster {

namespace {

constexpr int kCheckMark = 252, kBallotCross = 251;

bool installed(const QString& family) {
    return QFontDatabase::hasFamily(family);
}

bool isWingdings(const QString& family) {
    return family.compare(QLatin1String("Wingdings"), Qt::CaseInsensitive) == 0;
}

const QString kSymbolStandIn = QStringLiteral("DejaVu Sans");

QChar standInGlyph(int wingdingsCode) {
    switch (wingdingsCode) {
    case kCheckMark:
        return QChar(0x2714); // heavy check mark
    case kBallotCross:
        return QChar(0x2718); // heavy ballot X
    default:
        return QChar(wingdingsCode);
    }
}

} // namespace

int pixelSizeOf(int pointSize) {
    const long long scaled = (static_cast<long long>(pointSize) * 96 + 36) / 72;
    return static_cast<int>(std::max(1LL, scaled));
}

QString resolveFamily(const QString& requested) {
    if (installed(requested))
        return requested;
    if (isWingdings(requested))
        return kSymbolStandIn;
    // Liberation Sans has Arial's metrics, and stands in for the other Windows sans faces.
    return QStringLiteral("Liberation Sans");
}

StampGlyph stampGlyph(int wingdingsCode) {
    const QString wingdings = QStringLiteral("Wingdings");
    if (installed(wingdings))
        return {wingdings, QString(QChar(wingdingsCode))};
    return {kSymbolStandIn, QString(standInGlyph(wingdingsCode))};
}

QFont qfontOf(const Font& font) {
    QFont result(resolveFamily(font.family));
    result.setPixelSize(pixelSizeOf(font.pointSize));
    result.setBold(font.bold);
    return result;
}

ResolvedFont resolvedFont(const Font& font) {
    return {qfontOf(font), isWingdings(font.family) && !installed(font.family)};
}

bool sameFace(const Font& a, const Font& b) {
    return a.family == b.family && a.pointSize == b.pointSize && a.bold == b.bold;
}

QString renderedText(const ResolvedFont& font, const QString& text) {
    if (!font.standInGlyphs)
        return text;
    QString shown;
    for (QChar c : text)
        shown += standInGlyph(c.unicode());
    return shown;
}

} // namespace raster
