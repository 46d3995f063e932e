#include "controls/bit_button.h"

#include "support/picture_diff.h"

#include <QDialog>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using testsupport::samePixels;

const QRgb kFace = 0xC0C0C0, kLight = 0xFFFFFF, kDark = 0x808080, kBlack = 0x000000,
           kRed = 0xFF0000;

// A button with plain system colours and hard-edged text, so every pixel has a known colour.
void plainLook(TBitBtn2& button, QRgb captionColour = kBlack) {
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, QColor::fromRgb(kFace));
    palette.setColor(QPalette::Light, QColor::fromRgb(kLight));
    palette.setColor(QPalette::Dark, QColor::fromRgb(kDark));
    palette.setColor(QPalette::Shadow, QColor::fromRgb(kBlack));
    palette.setColor(QPalette::WindowText, QColor::fromRgb(kBlack));
    palette.setColor(QPalette::ButtonText, QColor::fromRgb(captionColour));
    palette.setColor(QPalette::Disabled, QPalette::Button, QColor::fromRgb(kFace));
    button.setPalette(palette);
    QFont font("Arial");
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias);
    button.setFont(font);
}

QImage render(TBitBtn2& button) {
    QImage picture(button.size(), QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    button.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

QRgb at(const QImage& picture, int x, int y) {
    return picture.pixel(x, y) & 0xFFFFFF;
}

// The columns between the leftmost and the rightmost pixel of `colour` inside the face.
int inkWidth(const QImage& picture, QRgb colour) {
    int left = picture.width(), right = -1;
    for (int y = 1; y < picture.height() - 1; ++y)
        for (int x = 1; x < picture.width() - 1; ++x)
            if (at(picture, x, y) == colour)
                left = std::min(left, x), right = std::max(right, x);
    return right < 0 ? 0 : right - left + 1;
}

// A 3-frame picture: frame 0 red, frame 1 green, frame 2 blue, each 4 x 4; bottom-left of
// frame 0 olive (the transparent colour).
QImage threeFrames() {
    QImage picture(12, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int y = 0; y < 4; ++y)
        for (int x = 4; x < 12; ++x)
            picture.setPixel(x, y, x < 8 ? 0xFF00FF00 : 0xFF0000FF);
    picture.setPixel(0, 3, 0xFF808000);
    return picture;
}

TEST(CaptionFitting, ShrinksOnePointAtATimeDownToOne) {
    auto tenPerPoint = [](double points) {
        return int(points * 10);
    };
    EXPECT_DOUBLE_EQ(FitCaptionPoints(8, 100, tenPerPoint), 8);
    EXPECT_DOUBLE_EQ(FitCaptionPoints(8, 50, tenPerPoint), 5);
    EXPECT_DOUBLE_EQ(FitCaptionPoints(8, 3, tenPerPoint), 1);
    EXPECT_DOUBLE_EQ(FitCaptionPoints(8.25, 75, tenPerPoint), 7);
    int measured = 0;
    FitCaptionPoints(8, 0, [&](double) { return ++measured, 1000; });
    EXPECT_EQ(measured, 8); // 8, 7, ... 1: one measurement per size
}

TEST(BitButton, CaptionShrinksToFitAndGrowsBackWhenThereIsRoom) {
    TBitBtn2 button;
    plainLook(button);
    button.setText("Einstellungen...");
    button.resize(200, 25);
    const int roomy = inkWidth(render(button), kBlack);
    button.resize(50, 25);
    const QImage narrow = render(button);
    const int squeezed = inkWidth(narrow, kBlack);
    EXPECT_GT(squeezed, 0);
    EXPECT_LE(squeezed, 50 - 4 + 1); // within the caption box (plus its one-pixel shadow)
    EXPECT_LT(squeezed, roomy);
    button.resize(200, 25);
    EXPECT_EQ(inkWidth(render(button), kBlack), roomy);
}

TEST(BitButton, ShadowZeroShowsNoShadowAndTwoShowsOneTwoPixelsOff) {
    TBitBtn2 button;
    plainLook(button, kRed);
    button.setText("Aide");
    button.resize(89, 25);
    button.setShadow(0);
    const QImage plain = render(button);
    EXPECT_GT(inkWidth(plain, kRed), 0);
    EXPECT_EQ(inkWidth(plain, kBlack), 0);

    button.setShadow(2);
    const QImage shadowed = render(button);
    int shadowPixels = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 88; ++x) {
            if (at(plain, x, y) == kRed) {
                EXPECT_EQ(at(shadowed, x, y), kRed) << x << "," << y;
            }
            if (at(shadowed, x, y) == kBlack) {
                ++shadowPixels;
                EXPECT_EQ(at(plain, x - 2, y - 2), kRed) << "shadow pixel " << x << "," << y;
            }
        }
    EXPECT_GT(shadowPixels, 10);
}

TEST(BitButton, DisabledShowsAnEngravedCaptionAndNoPicture) {
    TBitBtn2 bare;
    plainLook(bare);
    bare.setText("Fermer");
    bare.resize(89, 25);
    bare.setEnabled(false);
    const QImage expected = render(bare);

    int grey = 0;
    for (int y = 1; y < 24; ++y)
        for (int x = 1; x < 88; ++x) {
            const QRgb pixel = at(expected, x, y);
            ASSERT_TRUE(pixel == kFace || pixel == kDark || pixel == kLight) << x << "," << y;
            if (pixel == kDark)
                ++grey;
            if (pixel == kLight) {
                EXPECT_EQ(at(expected, x - 1, y - 1), kDark)
                    << "white without grey at " << x << "," << y;
            }
        }
    EXPECT_GT(grey, 10);

    for (int frames = 1; frames <= 4; ++frames) {
        TBitBtn2 pictured;
        plainLook(pictured);
        pictured.setText("Fermer");
        pictured.resize(89, 25);
        pictured.setGlyph(threeFrames());
        pictured.setNumGlyphs(frames);
        pictured.setEnabled(false);
        EXPECT_TRUE(samePixels(expected, render(pictured))) << frames << " frames";
    }
}

TEST(BitButton, KindSetsUpTheButtonAndReadsCustomOnceItNoLongerMatches) {
    TBitBtn2 button;
    button.setText("Valider");
    button.setKind(bkOK);
    EXPECT_EQ(button.Kind(), bkOK);
    EXPECT_EQ(button.text(), "Valider");
    EXPECT_TRUE(button.isDefault());
    EXPECT_FALSE(button.Cancel());
    EXPECT_EQ(button.ModalResult(), 1);
    EXPECT_EQ(button.Glyph(), KindPicture(bkOK));
    EXPECT_EQ(button.NumGlyphs(), 2);
    button.setDefault(false);
    EXPECT_EQ(button.Kind(), bkCustom);
    button.setDefault(true);
    EXPECT_EQ(button.Kind(), bkCustom); // stored, not recomputed

    TBitBtn2 resized;
    resized.setKind(bkCancel);
    EXPECT_EQ(resized.Kind(), bkCancel);
    EXPECT_TRUE(resized.Cancel());
    resized.resize(resized.width() + 10, resized.height());
    EXPECT_EQ(resized.Kind(), bkCustom);

    TBitBtn2 repictured;
    repictured.setKind(bkYes);
    repictured.setGlyph(threeFrames());
    EXPECT_EQ(repictured.Kind(), bkCustom);
}

TEST(BitButton, KindPicturesAreTwoFramesOfSixteenColours) {
    for (int kind = bkOK; kind <= bkAll; ++kind) {
        const QImage& picture = KindPicture(TBitBtnKind(kind));
        EXPECT_EQ(picture.size(), QSize(36, kind == bkAll ? 19 : 18)) << kind;
        EXPECT_LE(picture.colorCount(), 16) << kind;
        EXPECT_EQ(picture.pixel(0, picture.height() - 1) & 0xFFFFFF, 0x808000u) << kind;
        EXPECT_NE(picture.copy(0, 0, 18, 18), picture.copy(18, 0, 18, 18)) << kind;
    }
    EXPECT_TRUE(KindPicture(bkCustom).isNull());
}

TEST(BitButton, OneFramePressedShowsTheUpImageMovedOnePixel) {
    TBitBtn2 button;
    plainLook(button);
    button.resize(30, 20);
    QImage red(4, 4, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.setPixel(1, 1, 0xFF0000FF); // a mark that shows where the image sits
    red.setPixel(3, 2, 0xFF00FF00);
    button.setGlyph(red);
    const QImage up = render(button);
    button.setDown(true);
    const QImage down = render(button);
    EXPECT_EQ(button.GlyphHolder().BuildCount(), 1); // both states share the one image
    EXPECT_TRUE(samePixels(up.copy(2, 2, 25, 15), down.copy(3, 3, 25, 15)));
    EXPECT_EQ(at(up, 2, 2), kRed);
    EXPECT_NE(at(down, 2, 2), kRed);

    // From three frames on, the pressed state has a picture of its own.
    button.setGlyph(threeFrames());
    button.setNumGlyphs(3);
    EXPECT_EQ(at(render(button), 10, 10), 0x0000FFu);
    button.setDown(false);
    EXPECT_EQ(at(render(button), 10, 10), kRed);
}

TEST(BitButton, PaintingReusesImagesUntilTheSizeChanges) {
    auto first = std::make_unique<TBitBtn2>();
    first->setGlyph(threeFrames());
    first->resize(40, 20);
    render(*first);
    render(*first);
    EXPECT_EQ(first->GlyphHolder().BuildCount(), 1);
    EXPECT_EQ(first->GlyphHolder().BuiltSize(), QSize(36, 16));
    first->resize(60, 30);
    render(*first);
    EXPECT_EQ(first->GlyphHolder().BuildCount(), 2);
    EXPECT_EQ(first->GlyphHolder().BuiltSize(), QSize(56, 26));
    first->setStyle3D(1);
    render(*first);
    EXPECT_EQ(first->GlyphHolder().BuiltSize(), QSize(57, 27));

    // Buttons of one size share one image list; the cache goes with the last picture.
    auto second = std::make_unique<TBitBtn2>();
    second->setGlyph(threeFrames());
    second->setStyle3D(1);
    second->resize(60, 30);
    render(*second);
    ASSERT_NE(TGlyphCache::Existing(), nullptr);
    EXPECT_EQ(TGlyphCache::Existing()->ListCount(), 1);
    first.reset();
    EXPECT_EQ(TGlyphCache::Existing()->ListCount(), 1);
    second.reset();
    EXPECT_EQ(TGlyphCache::Existing(), nullptr);
}

TEST(BitButton, TransparentShowsThePictureKeyColourAsTheFace) {
    TBitBtn2 button;
    plainLook(button);
    button.resize(10, 10); // the 4 x 4 frame stretched to 6 x 6: its bottom-left at (2..3, 6..7)
    button.setGlyph(threeFrames());
    button.setNumGlyphs(3);
    EXPECT_EQ(at(render(button), 2, 7), 0x808000u);
    button.setTransparent(true);
    EXPECT_EQ(at(render(button), 2, 7), kFace);
    EXPECT_EQ(button.GlyphHolder().BuildCount(), 2);
}

TEST(BitButton, GlyphListReusesTheLowestFreeSlot) {
    TGlyphList list(QSize(2, 2));
    QPixmap image(2, 2);
    EXPECT_EQ(list.Add(image), 0);
    EXPECT_EQ(list.Add(image), 1);
    EXPECT_EQ(list.Add(image), 2);
    list.Delete(1);
    list.Delete(1); // twice counts once
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Add(image), 1);
    EXPECT_EQ(list.Count(), 3);
}

// A dialog with a line edit, a default OK button (modal result 1) and a cancel button.
struct Dialog {
    QDialog window;
    QLineEdit* edit = new QLineEdit(&window);
    TBitBtn2* ok = new TBitBtn2(&window);
    TBitBtn2* cancel = new TBitBtn2(&window);

    Dialog() {
        ok->setDefault(true);
        ok->setModalResult(1);
        ok->move(0, 30);
        cancel->setCancel(true);
        cancel->setModalResult(2);
        cancel->move(80, 30);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST(BitButton, EnterClicksTheFocusedButtonOnlyWithoutModifiers) {
    Dialog dialog;
    QSignalSpy clicks(dialog.cancel, &TBitBtn2::Click);
    dialog.cancel->setModalResult(0);
    dialog.cancel->setFocus();
    QTest::keyClick(dialog.cancel, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(dialog.cancel, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(dialog.window.isVisible());
    QTest::keyClick(dialog.cancel, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    QTest::keyClick(dialog.cancel, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(BitButton, EscPressesTheCancelButtonWhichEndsTheDialogWithItsResult) {
    Dialog dialog;
    QSignalSpy clicks(dialog.cancel, &TBitBtn2::Click);
    dialog.edit->setFocus();
    QTest::keyClick(dialog.edit, Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(dialog.window.isVisible());
    EXPECT_EQ(dialog.window.result(), 2);
}

TEST(BitButton, EnterInAnotherControlPressesTheDefaultButton) {
    Dialog dialog;
    QSignalSpy clicks(dialog.ok, &TBitBtn2::Click);
    dialog.edit->setFocus();
    QTest::keyClick(dialog.edit, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(dialog.window.result(), 1);
}

TEST(BitButton, ActiveFlagFollowsTheFocus) {
    Dialog dialog;
    dialog.edit->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.ok->IsActive());
    EXPECT_FALSE(dialog.cancel->IsActive());
    dialog.cancel->setFocus();
    QApplication::processEvents();
    EXPECT_FALSE(dialog.ok->IsActive());
    EXPECT_TRUE(dialog.cancel->IsActive());

    // The active button wears the dark frame and the dotted focus rectangle.
    plainLook(*dialog.cancel);
    auto dotsOnRowThree = [](const QImage& picture) {
        int dots = 0;
        for (int x = 3; x < picture.width() - 3; ++x)
            dots += at(picture, x, 3) == kBlack;
        return dots;
    };
    const QImage active = render(*dialog.cancel);
    const int length = active.width() - 6;
    EXPECT_EQ(at(active, 0, 0), kBlack);
    EXPECT_NEAR(dotsOnRowThree(active), length / 2, 2);
    dialog.edit->setFocus();
    QApplication::processEvents();
    const QImage idle = render(*dialog.cancel);
    EXPECT_EQ(at(idle, 0, 0), kLight);
    EXPECT_EQ(dotsOnRowThree(idle), 0);
}

TEST(BitButton, DoubleClickCountsAsTwoClicks) {
    TBitBtn2 button;
    button.show();
    QSignalSpy clicks(&button, &TBitBtn2::Click);
    const QPointF centre(button.width() / 2.0, button.height() / 2.0);
    auto send = [&](QEvent::Type type) {
        QMouseEvent event(type, centre, button.mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&button, &event);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    send(QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(BitButton, CloseKindClosesItsWindowWithoutAClick) {
    QDialog window;
    auto* close = new TBitBtn2(&window);
    close->setKind(bkClose);
    window.show();
    QSignalSpy clicks(close, &TBitBtn2::Click);
    close->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(clicks.count(), 0);
}

} // namespace
