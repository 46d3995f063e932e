#include "output/druck_form.h"

#include "controls/bit_button.h"
#include "controls/meld_form.h"
#include "controls/message_box.h"
#include "controls/modal.h"
#include "controls/num_edit.h"
#include "output/print_picture.h"
#include "platform/printer_paper.h"
#include "support/test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct Shown {
    MessageKind kind;
    QString text;
};

// Counts the message window's showings and notes whether it was up during each print job.
class ShowCounter : public QObject {
public:
    int shows = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show)
            ++shows;
        return false;
    }
};

// The fields show a decimal comma, as the layout was made for.
class CommaLocale {
public:
    CommaLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~CommaLocale() { QLocale::setDefault(before_); }

private:
    QLocale before_;
};

class PrintDialog : public testing::Test {
protected:
    CommaLocale locale; // before the fields are made
    // 254 dots per inch: page pixels are tenths of a millimetre from the paper's edges.
    PaperPrinter printer{"Laser", "", PrinterMetrics{254, 254, 0, 0}, QSize(700, 700)};
    TMeldForm meld;
    TDruckForm form{printer, &meld};
    QImage picture = QImage(1920, 1080, QImage::Format_RGB32);
    std::vector<Shown> messages;
    ShowCounter meldShows;

    void SetUp() override {
        picture.fill(Qt::darkBlue);
        form.setPictureSource([this] { return picture; });
        setMessageHandler([this](MessageKind kind, const QString& text) {
            messages.push_back({kind, text});
            EXPECT_FALSE(meld.isVisible()) << "the message window is hidden before the box";
        });
        meld.installEventFilter(&meldShows);
    }
    void TearDown() override {
        setMessageHandler({});
        setModalHandler({});
    }

    // Opens the dialog the palette's way; `user` acts on it while it is open.
    int open(const std::function<int(TDruckForm&)>& user) {
        setModalHandler([&](QDialog& dialog) {
            EXPECT_EQ(&dialog, &form);
            return user(form);
        });
        return form.Execute();
    }

    void showActive() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // Empties a field the way a user would, with the focus in it.
    static void typeInto(TNumEditQ* field, const QString& keys) {
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, keys);
    }
};

int pressPrint(TDruckForm& form) {
    form.DruckBtn->click();
    return form.result();
}

} // namespace

TEST_F(PrintDialog, HasItsDesignLayoutTextsAndTabOrder) {
    EXPECT_EQ(form.windowTitle(), "Bildschirminhalt drucken");
    EXPECT_EQ(form.size(), QSize(457, 239));
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 457, 193));
    EXPECT_EQ(form.PosGroupBox->geometry(), QRect(16, 12, 425, 97));
    EXPECT_EQ(form.DruckerGroupBox->geometry(), QRect(16, 124, 425, 53));
    EXPECT_EQ(form.DruckerInfo->geometry(), QRect(10, 16, 399, 29));
    EXPECT_EQ(form.DruckerInfo->text(), "-");
    EXPECT_EQ(form.LiRandEdit->geometry(), QRect(112, 22, 57, 20));
    EXPECT_EQ(form.ObRandEdit->geometry(), QRect(112, 46, 57, 20));
    EXPECT_EQ(form.BreiteEdit->geometry(), QRect(312, 22, 57, 20));
    EXPECT_EQ(form.HoeheEdit->geometry(), QRect(312, 46, 57, 20));
    EXPECT_EQ(form.SeitRatio->geometry(), QRect(24, 72, 185, 17));
    EXPECT_TRUE(form.SeitRatio->isChecked());
    EXPECT_EQ(form.LiRandLab->pos(), QPoint(24, 24));
    EXPECT_EQ(form.HoeheLab->pos(), QPoint(248, 48));
    EXPECT_EQ(form.Label10->pos(), QPoint(376, 48));
    EXPECT_EQ(form.LiRandLab->buddy(), form.LiRandEdit);
    EXPECT_EQ(form.HoeheLab->buddy(), form.HoeheEdit);
    EXPECT_EQ(form.LiRandEdit->text(), "2,5");
    EXPECT_EQ(form.ObRandEdit->text(), "1,8");
    EXPECT_EQ(form.BreiteEdit->text(), "16,0");
    EXPECT_EQ(form.HoeheEdit->text(), "17,0");
    EXPECT_EQ(form.DruckBtn->geometry(), QRect(136, 200, 97, 25));
    EXPECT_EQ(form.AbbrBtn->geometry(), QRect(240, 200, 97, 25));
    EXPECT_EQ(form.DrEinrBtn->geometry(), QRect(344, 200, 97, 25));
    EXPECT_TRUE(form.DruckBtn->isDefault());
    EXPECT_EQ(form.DruckBtn->ModalResult(), 0) << "Print closes the dialog after its job";
    EXPECT_TRUE(form.AbbrBtn->Cancel());
    EXPECT_EQ(form.AbbrBtn->ModalResult(), 2);
    EXPECT_EQ(form.DrEinrBtn->ModalResult(), 0);
    for (TBitBtn2* button : {form.DruckBtn, form.AbbrBtn, form.DrEinrBtn}) {
        EXPECT_EQ(button->Style3D(), 1);
        EXPECT_EQ(button->Shadow(), 0);
    }

    std::vector<QWidget*> chain{form.DruckBtn};
    for (QWidget* next = form.DruckBtn->nextInFocusChain();
         next != form.DruckBtn && chain.size() < 40; next = next->nextInFocusChain())
        if (next->focusPolicy() & Qt::TabFocus)
            chain.push_back(next);
    const std::vector<QWidget*> expected{form.DruckBtn,   form.AbbrBtn,    form.DrEinrBtn,
                                         form.LiRandEdit, form.ObRandEdit, form.BreiteEdit,
                                         form.HoeheEdit,  form.SeitRatio};
    EXPECT_EQ(chain, expected);
}

TEST_F(PrintDialog, RunTimeTextsAreFrenchExceptTheUnits) {
    form.ApplyRunTimeTexts();
    EXPECT_EQ(form.windowTitle(), "Imprimer l'ecran");
    EXPECT_EQ(form.PosGroupBox->title(), " Position et taille ");
    EXPECT_EQ(form.DruckerGroupBox->title(), " Imprimante ");
    EXPECT_EQ(form.DruckBtn->text(), "Imprimer");
    EXPECT_EQ(form.AbbrBtn->text(), "Annuler");
    EXPECT_EQ(form.DrEinrBtn->text(), QString::fromUtf8("Réglages..."));
    EXPECT_EQ(form.LiRandLab->text(), "&Gauche:");
    EXPECT_EQ(form.ObRandLab->text(), "&Haut:");
    EXPECT_EQ(form.BreiteLab->text(), "&Largeur");
    EXPECT_EQ(form.HoeheLab->text(), "Hau&teur");
    EXPECT_EQ(form.SeitRatio->text(), "Conserver les &proportions");
    EXPECT_EQ(form.Label4->text(), "cm");
}

TEST_F(PrintDialog, OpeningKeepsTheHeightInTheNewPicturesProportions) {
    open([](TDruckForm& f) {
        EXPECT_DOUBLE_EQ(f.PictureRatio(), 1920.0 / 1080.0);
        EXPECT_EQ(f.HoeheEdit->text(), "9,0");
        EXPECT_TRUE(f.DruckBtn->hasFocus() || f.focusWidget() == f.DruckBtn);
        return kModalCancel;
    });
    picture = QImage(1280, 1024, QImage::Format_RGB32);
    open([](TDruckForm& f) {
        EXPECT_EQ(f.HoeheEdit->text(), "12,8");
        return kModalCancel;
    });

    // Unticked, the height stays what it is; the margins never follow.
    form.SeitRatio->setChecked(false);
    form.HoeheEdit->setValue(3);
    picture = QImage(100, 100, QImage::Format_RGB32);
    open([](TDruckForm& f) {
        EXPECT_EQ(f.HoeheEdit->text(), "3,0");
        return kModalCancel;
    });
    EXPECT_EQ(form.LiRandEdit->text(), "2,5");
    EXPECT_EQ(form.ObRandEdit->text(), "1,8");
}

TEST_F(PrintDialog, EmptyPictureBeforeTheFirstStartDividesByNothingAndPrintsNothing) {
    picture = QImage();
    const int result = open([](TDruckForm& f) {
        EXPECT_EQ(f.PictureRatio(), 0.0);
        EXPECT_EQ(f.HoeheEdit->text(), "17,0");
        f.SeitRatio->click(); // off
        f.SeitRatio->click(); // on again: still nothing to divide by
        EXPECT_EQ(f.HoeheEdit->text(), "17,0");
        return pressPrint(f);
    });
    EXPECT_EQ(result, 1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].kind, MessageKind::Information);
    EXPECT_EQ(messages[0].text, kNothingToPrintMessage);
    EXPECT_TRUE(printer.Pages().isEmpty());
    EXPECT_EQ(meldShows.shows, 0);
}

TEST_F(PrintDialog, HeightFollowsEachKeystrokeInTheWidthAndBack) {
    form.FormActivate();
    showActive();
    form.BreiteEdit->setFocus();
    form.BreiteEdit->selectAll();
    QTest::keyClick(form.BreiteEdit, Qt::Key_Delete);
    QTest::keyClick(form.BreiteEdit, '1');
    EXPECT_EQ(form.HoeheEdit->text(), "0,6");
    QTest::keyClick(form.BreiteEdit, '8');
    EXPECT_EQ(form.HoeheEdit->text(), "10,1");
    EXPECT_EQ(form.BreiteEdit->text(), "18") << "the focused field is not reformatted";

    typeInto(form.HoeheEdit, "9");
    EXPECT_EQ(form.BreiteEdit->text(), "16,0");
    EXPECT_EQ(form.HoeheEdit->text(), "9");

    // Without the check box, or without the focus, the fields do not feed each other.
    form.SeitRatio->click();
    typeInto(form.BreiteEdit, "5");
    EXPECT_EQ(form.HoeheEdit->text(), "9,0");
    form.SeitRatio->click();
    EXPECT_EQ(form.HoeheEdit->text(), "2,8") << "ticking it couples at once";
    form.LiRandEdit->setFocus();
    form.BreiteEdit->setValue(32);
    EXPECT_EQ(form.HoeheEdit->text(), "2,8");
    form.hide();
}

TEST_F(PrintDialog, StoredCheckBoxStateNeverRecomputesTheHeight) {
    form.FormActivate();
    form.HoeheEdit->setValue(17);
    form.SeitRatio->setChecked(true);
    EXPECT_EQ(form.HoeheEdit->text(), "17,0");
    form.SeitRatio->setChecked(false);
    form.SeitRatio->setChecked(true);
    EXPECT_EQ(form.HoeheEdit->text(), "17,0");
}

TEST_F(PrintDialog, PrinterLineNamesThePrinterAndItsPortAndFollowsTheSetupDialog) {
    printer.setName("");
    open([](TDruckForm& f) {
        EXPECT_EQ(f.DruckerInfo->text(), "- Kein Drucker -");
        return kModalCancel;
    });
    printer.setName("Laser");
    open([](TDruckForm& f) {
        EXPECT_EQ(f.DruckerInfo->text(), "Laser");
        return kModalCancel;
    });

    PaperPrinter attached("HP LaserJet", "LPT1:", {300, 300, 0, 0}, QSize(10, 10));
    TDruckForm other(attached);
    other.FormActivate();
    EXPECT_EQ(other.DruckerInfo->text(), "HP LaserJet an LPT1:");

    attached.onSetup = [](PaperPrinter& p) {
        p.setName("Tintenstrahl");
    };
    int setupDialogs = 0;
    setModalHandler([&](QDialog& dialog) {
        EXPECT_NE(&dialog, &other);
        ++setupDialogs;
        return int(QDialog::Accepted);
    });
    other.DrEinrBtn->click();
    EXPECT_EQ(setupDialogs, 1);
    EXPECT_EQ(other.DruckerInfo->text(), "Tintenstrahl an LPT1:");
    EXPECT_EQ(other.result(), 0) << "setup leaves the dialog open";
}

TEST_F(PrintDialog, PrintPlacesThePictureAndHidesTheMessageWindowAgain) {
    picture = QImage(4, 2, QImage::Format_RGB32);
    picture.fill(Qt::black);
    form.LiRandEdit->setValue(1.0);
    form.ObRandEdit->setValue(0.5);
    form.BreiteEdit->setValue(4.0);
    const int result = open([&](TDruckForm& f) {
        EXPECT_EQ(f.HoeheEdit->text(), "2,0");
        return pressPrint(f);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(meldShows.shows, 1);
    EXPECT_EQ(meld.InfoLab->Caption(), "Ausdruck wird vorbereitet.||Bitte warten.");
    EXPECT_FALSE(meld.isVisible());
    ASSERT_EQ(printer.Pages().size(), 1);
    const QImage& page = printer.Pages()[0];
    EXPECT_EQ(page.pixel(100, 50), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(499, 249), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(99, 50), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(500, 249), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(499, 250), qRgb(255, 255, 255));
}

TEST_F(PrintDialog, EnterInAFieldPrintsTheValueAsTyped) {
    picture = QImage(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::black);
    form.ObRandEdit->setValue(0);
    form.BreiteEdit->setValue(1);
    setModalHandler({}); // a real modal run, as the palette's command has
    QTimer::singleShot(0, &form, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(QApplication::focusWidget(), form.DruckBtn) << "the print button has the focus";
        typeInto(form.LiRandEdit, "2,55");
        QTest::keyClick(form.LiRandEdit, Qt::Key_Return);
    });
    QTimer::singleShot(5000, &form, [&] { form.reject(); }); // a safety net only
    EXPECT_EQ(form.Execute(), 1);
    ASSERT_EQ(printer.Pages().size(), 1);
    // 255 tenths: neither 250 nor 260, as a reformatted "2,5" or "2,6" would give.
    const QImage& page = printer.Pages()[0];
    EXPECT_EQ(page.pixel(254, 5), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(255, 5), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(354, 5), qRgb(0, 0, 0));
    EXPECT_EQ(page.pixel(355, 5), qRgb(255, 255, 255));
}

TEST_F(PrintDialog, CancelPrintsNothingAndShowsNoMessageWindow) {
    EXPECT_EQ(open([](TDruckForm& f) {
                  f.AbbrBtn->click();
                  return f.result();
              }),
              2);
    EXPECT_TRUE(printer.Pages().isEmpty());
    EXPECT_EQ(meldShows.shows, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(PrintDialog, FailuresEndInTheGeneralErrorBoxWithTheMessageWindowHidden) {
    // A width whose tenths of a millimetre do not fit 32 bits: stopped before any job.
    form.SeitRatio->setChecked(false);
    form.BreiteEdit->setText("30000000");
    EXPECT_EQ(open(pressPrint), 1);
    // No printer, then a job that cannot begin.
    form.BreiteEdit->setValue(16);
    printer.setName("");
    open(pressPrint);
    printer.setName("Laser");
    printer.setBeginFailure("Drucker nicht bereit");
    open(pressPrint);

    ASSERT_EQ(messages.size(), 3u);
    for (const Shown& shown : messages)
        EXPECT_EQ(shown.kind, MessageKind::AppError);
    EXPECT_EQ(messages[0].text, QString::fromUtf8("Fehler bei Bereichsprüfung."));
    EXPECT_EQ(messages[1].text, QString::fromUtf8("Zur Zeit ist kein Standard-Drucker gewählt."));
    EXPECT_EQ(messages[2].text, "Drucker nicht bereit");
    EXPECT_TRUE(printer.Pages().isEmpty());
    EXPECT_EQ(meldShows.shows, 3);
    EXPECT_FALSE(meld.isVisible());
}
