#include "controls/shadow_label.h"

#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace {

// A monospaced stand-in for a font: each character is `points` wide, each line twice that.
QSize monospaced(const QString& text, double points) {
    qsizetype longest = 0;
    const QStringList lines = text.split('\n');
    for (const QString& line : lines)
        longest = std::max(longest, line.size());
    return QSize(int(longest * points), int(lines.size() * 2 * points));
}

TEST(StringReplaceAll, ReplacesLeftToRightWithoutRescanningReplacements) {
    EXPECT_EQ(StringReplaceAll("a|b||c", "|", "\n"), "a\nb\n\nc");
    EXPECT_EQ(StringReplaceAll("aaa", "aa", "a"), "aa");
    EXPECT_EQ(StringReplaceAll("xx", "x", "xx"), "xxxx");
    EXPECT_EQ(StringReplaceAll("abc", "", "-"), "abc");
    EXPECT_EQ(StringReplaceAll("", "|", "\n"), "");
    EXPECT_EQ(StringReplaceAll("||", "|", ""), "");
}

TEST(LabelFitting, ShrinksOnePointAtATimeThenCutsWords) {
    struct Case {
        const char* name;
        QString text;
        double points;
        QSize box;
        QString fitted;
        double fittedPoints;
    };
    const Case cases[] = {
        {"fits at once", "abc def", 10, {70, 20}, "abc def", 10},
        {"shrinks until it fits", "abcdefghij", 10, {80, 100}, "abcdefghij", 8},
        {"never below seven points", "aaa bbb ccc ddd", 10, {70, 100}, "aaa ...", 7},
        {"a single long word", "abcdefghijklmnop", 9, {40, 100}, "...", 7},
        {"small fonts are left alone", "abcdefgh", 6, {30, 100}, "...", 6},
        {"fractional size steps to whole points", "abcdefghij", 8.25, {70, 100}, "abcdefghij", 7},
        {"words off the last line", "aa\nbb\ncc dd ee ff gg", 7, {60, 50}, "aa\nbb\ncc ...", 7},
        {"trailing blanks are trimmed before cutting", "aa bb cc   ", 7, {45, 30}, "aa ...", 7},
    };
    for (const Case& c : cases) {
        LabelFit fit = FitLabelText(c.text, c.points, c.box, monospaced);
        EXPECT_EQ(fit.text, c.fitted) << c.name;
        EXPECT_DOUBLE_EQ(fit.points, c.fittedPoints) << c.name;
    }
}

// Renders a label on white, with hard-edged text so pixels are black, grey or white.
QImage render(TShadowLabel& label) {
    QFont font = label.font();
    font.setStyleStrategy(QFont::NoAntialias);
    label.setFont(font);
    QImage picture(label.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    label.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

std::vector<bool> inkRows(const QImage& picture) {
    std::vector<bool> rows(picture.height(), false);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                rows[y] = true;
    return rows;
}

struct Band {
    int top, bottom; // inclusive rows
};
std::vector<Band> inkBands(const QImage& picture) {
    std::vector<Band> bands;
    std::vector<bool> rows = inkRows(picture);
    for (int y = 0; y < int(rows.size()); ++y)
        if (rows[y] && (y == 0 || !rows[y - 1])) {
            bands.push_back({y, y});
        } else if (rows[y]) {
            bands.back().bottom = y;
        }
    return bands;
}

// The message window's label.
void makeMessageLabel(TShadowLabel& label) {
    QFont font("Arial");
    font.setPixelSize(11);
    label.setFont(font);
    label.resize(281, 65);
    label.setAlignment(Qt::AlignHCenter);
    label.setLayout(TShadowLabel::tlCenter);
    label.setColor(Qt::white);
    label.setShadow(0);
}

TEST(ShadowLabel, BarsBecomeLineBreaksWithAnEmptyLine) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.setCaption("Ausdruck wird vorbereitet.||Bitte warten.");
    EXPECT_EQ(label.PaintedText().text, "Ausdruck wird vorbereitet.\n\nBitte warten.");

    QImage picture = render(label);
    std::vector<Band> bands = inkBands(picture);
    ASSERT_EQ(bands.size(), 2u);
    const int lineSpacing = QFontMetrics(label.font()).lineSpacing();
    EXPECT_GE(bands[1].top - bands[0].top, 2 * lineSpacing - 1); // one empty line between
    // Centred both ways: as much room above the first line as below the last.
    EXPECT_NEAR(bands[0].top, picture.height() - 1 - bands[1].bottom, lineSpacing / 2 + 2);
}

TEST(ShadowLabel, LongCaptionShrinksToSevenPointsThenEndsInAnEllipsis) {
    TShadowLabel label;
    makeMessageLabel(label);
    QString caption;
    for (int i = 0; i < 40; ++i)
        caption += QStringLiteral("Wort%1 ").arg(i);
    label.setCaption(caption.trimmed());
    LabelFit fit = label.PaintedText();
    EXPECT_DOUBLE_EQ(fit.points, 7);
    EXPECT_TRUE(fit.text.endsWith(" ...")) << fit.text.toStdString();
    EXPECT_TRUE(caption.startsWith(fit.text.chopped(4)));

    // A caption that fits is left as it is.
    label.setCaption("Bitte warten.");
    EXPECT_EQ(label.PaintedText().text, "Bitte warten.");
    EXPECT_GT(label.PaintedText().points, 7);
}

TEST(ShadowLabel, WordWrappedCaptionFitsWithinTheLabel) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.setWordWrap(true);
    label.setCaption(
        QString("Un texte assez long pour remplir plusieurs lignes du cadre ").repeated(3));
    LabelFit fit = label.PaintedText();
    QFont font = label.font();
    font.setPointSizeF(fit.points);
    QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, label.width(), 10000),
                                                   Qt::TextWordWrap | Qt::AlignHCenter, fit.text);
    EXPECT_LE(needed.height(), label.height());
    EXPECT_LE(needed.width(), label.width());
}

TEST(ShadowLabel, SingleWordTooLongForTheLabelEndsAsEllipsis) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.resize(40, 20);
    label.setCaption("Druckvorbereitungsmeldung");
    EXPECT_EQ(label.PaintedText().text, "...");
}

TEST(ShadowLabel, AutoSizeNeitherShrinksNorCuts) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.setAutoSize(true);
    const QString caption =
        "Ein sehr langer Text, der ganz sicher nicht in das schmale Feld passen würde";
    label.setCaption(caption);
    LabelFit fit = label.PaintedText();
    EXPECT_EQ(fit.text, caption);
    EXPECT_DOUBLE_EQ(fit.points, QFontInfo(label.font()).pointSizeF());
    EXPECT_GT(label.width(), 281);
}

TEST(ShadowLabel, CentredTextTallerThanTheLabelStartsAtTheTop) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.setAutoSize(true); // keeps all lines, so the text can be taller than the label
    label.setCaption("Eins|Zwei|Drei|Vier");
    label.resize(120, 20);
    QImage top, centred;
    label.setLayout(TShadowLabel::tlTop);
    top = render(label);
    label.setLayout(TShadowLabel::tlCenter);
    centred = render(label);
    EXPECT_FALSE(inkBands(top).empty());
    EXPECT_EQ(top, centred);

    // A short text in a tall label does move down.
    label.setCaption("Eins");
    label.resize(120, 60);
    label.setLayout(TShadowLabel::tlTop);
    top = render(label);
    label.setLayout(TShadowLabel::tlCenter);
    centred = render(label);
    ASSERT_FALSE(inkBands(top).empty());
    EXPECT_GT(inkBands(centred).front().top, inkBands(top).front().top + 10);
}

TEST(ShadowLabel, ShadowIsACopyOffsetRightAndDown) {
    TShadowLabel label;
    makeMessageLabel(label);
    label.setLayout(TShadowLabel::tlTop);
    label.setCaption("Ombre");
    label.setShadowColor(QColor(0x80, 0x80, 0x80));
    const QImage plain = render(label);
    label.setShadow(-2);
    EXPECT_EQ(render(label), plain);
    label.setShadow(3);
    const QImage shadowed = render(label);

    int grey = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            const QRgb before = plain.pixel(x, y) & 0xFFFFFF,
                       after = shadowed.pixel(x, y) & 0xFFFFFF;
            if (before == 0) {
                EXPECT_EQ(after, 0u) << "text covers its shadow at " << x << "," << y;
            }
            if (after == 0x808080) {
                ++grey;
                ASSERT_GE(x, 3);
                ASSERT_GE(y, 3);
                EXPECT_EQ(plain.pixel(x - 3, y - 3) & 0xFFFFFF, 0u) << x << "," << y;
            }
        }
    EXPECT_GT(grey, 10);
}

TEST(ShadowLabel, FillsWithItsColourUnlessTransparent) {
    TShadowLabel label;
    label.setCaption("");
    label.setColor(QColor(0, 0x80, 0));
    EXPECT_EQ(render(label).pixel(0, 0) & 0xFFFFFF, 0x008000u);
    label.setTransparent(true);
    EXPECT_EQ(render(label).pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(ShadowLabel, NewLabelDefaults) {
    TShadowLabel label;
    EXPECT_EQ(label.size(), QSize(120, 30));
    EXPECT_EQ(label.Caption(), "ShadowLabel");
    EXPECT_EQ(label.Shadow(), 1);
    EXPECT_EQ(label.ShadowColor(), QColor(Qt::black));
}

} // namespace
