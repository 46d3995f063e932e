#include "controls/meld_form.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// Rows of the label that hold dark text pixels, grouped into bands of consecutive rows.
std::vector<std::pair<int, int>> textBands(TMeldForm& form) {
    const QImage picture = form.InfoLab->grab().toImage();
    std::vector<std::pair<int, int>> bands;
    for (int y = 0; y < picture.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < picture.width() && !ink; ++x)
            ink = qGray(picture.pixel(x, y)) < 100;
        if (ink && (bands.empty() || bands.back().second != y - 1))
            bands.emplace_back(y, y);
        else if (ink)
            bands.back().second = y;
    }
    return bands;
}

TEST(MeldForm, ShowTextShowsTheTextWithBarsAsLineBreaks) {
    TMeldForm form;
    EXPECT_EQ(form.InfoLab->Caption(), "XXX");
    form.ShowText("Ausdruck wird vorbereitet.||Bitte warten.");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "Information");
    EXPECT_EQ(form.InfoLab->PaintedText().text, "Ausdruck wird vorbereitet.\n\nBitte warten.");

    const auto bands = textBands(form);
    ASSERT_EQ(bands.size(), 2u); // the empty line leaves a gap of a whole line
    const int lineSpacing = QFontMetrics(form.InfoLab->font()).lineSpacing();
    EXPECT_GE(bands[1].first - bands[0].first, 2 * lineSpacing - 1);
}

TEST(MeldForm, ShowTextAgainReplacesTheTextAndComesToTheFront) {
    TMeldForm form;
    form.ShowText("Erster Text");
    form.hide();
    form.ShowText("Zweiter Text");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.InfoLab->Caption(), "Zweiter Text");
    EXPECT_EQ(textBands(form).size(), 1u);
    form.ShowText("Dritter Text|zweite Zeile");
    EXPECT_EQ(form.InfoLab->Caption(), "Dritter Text|zweite Zeile");
    EXPECT_EQ(textBands(form).size(), 2u);
}

TEST(MeldForm, CloseBoxOnlyHidesTheWindow) {
    auto form = std::make_unique<TMeldForm>();
    QPointer<TMeldForm> alive(form.get());
    form->ShowText("Bitte warten.");
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(alive.isNull());
}

} // namespace
