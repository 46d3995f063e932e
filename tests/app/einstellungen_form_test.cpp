#include "app/einstellungen_form.h"

#include "controls/bit_button.h"
#include "controls/modal.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

class SettingsDialog : public testing::Test {
protected:
    GlobalSettings settings;
    TEinstellungenForm form{settings};
    std::vector<int> appliedModes;
    std::function<void(int)> applyCursorMode = [this](int mode) {
        appliedModes.push_back(mode);
    };

    void TearDown() override { setModalHandler({}); }

    // Opens the dialog through the info box's handler; `user` acts on it while it is open.
    bool open(const std::function<int(TEinstellungenForm&)>& user) {
        setModalHandler([&](QDialog&) { return user(form); });
        return EinstellBtnClick(form, applyCursorMode);
    }
};

int pressOk(TEinstellungenForm& form) {
    form.OkBtn->click();
    return form.result();
}

} // namespace

TEST_F(SettingsDialog, HasItsDesignLayoutAndTexts) {
    EXPECT_EQ(form.windowTitle(), "Einstellungen");
    EXPECT_EQ(form.size(), QSize(457, 245));
    EXPECT_EQ(form.font().family(), "Arial");
    EXPECT_EQ(form.Panel1->geometry(), QRect(0, 0, 457, 198));
    EXPECT_EQ(form.GroupBox1->geometry(), QRect(16, 12, 425, 61));
    EXPECT_EQ(form.GroupBox2->geometry(), QRect(16, 92, 425, 85));
    EXPECT_EQ(form.RadioMauszeiger1->pos(), QPoint(24, 26));
    EXPECT_EQ(form.RadioMauszeiger2->pos(), QPoint(152, 26));
    EXPECT_EQ(form.AutoOpenCheck->geometry(), QRect(24, 28, 385, 17));
    EXPECT_EQ(form.AutoCloseCheck->geometry(), QRect(24, 52, 385, 17));
    EXPECT_EQ(form.OkBtn->geometry(), QRect(240, 205, 97, 25));
    EXPECT_EQ(form.AbbrBtn->geometry(), QRect(344, 205, 97, 25));
    EXPECT_TRUE(form.OkBtn->isDefault());
    EXPECT_TRUE(form.AbbrBtn->Cancel());
    for (TBitBtn2* button : {form.OkBtn, form.AbbrBtn}) {
        EXPECT_EQ(button->Style3D(), 1);
        EXPECT_EQ(button->Shadow(), 0);
    }
    EXPECT_EQ(form.GroupBox1->title(), " Mauszeiger auf Zeichenfläche ");
    EXPECT_EQ(form.RadioMauszeiger2->text(), " ausblenden (nur Werkzeugsymbol)");
    EXPECT_EQ(form.AutoCloseCheck->text(),
              " Mit Klick auf 'Fertig' [F9] gesamtes Programm beenden ");
    EXPECT_EQ(form.AbbrBtn->text(), "Abbrechen");
}

TEST_F(SettingsDialog, RunTimeTextsAreFrench) {
    form.ApplyRunTimeTexts();
    EXPECT_EQ(form.windowTitle(), "Réglages");
    EXPECT_EQ(form.GroupBox1->title(), " Style du curseur à l'écran ");
    EXPECT_EQ(form.RadioMauszeiger1->text(), " Par défaut ");
    EXPECT_EQ(form.RadioMauszeiger2->text(), " Aucun ");
    EXPECT_EQ(form.GroupBox2->title(), " Options pour l'ouverture et la fermeture ");
    EXPECT_EQ(form.AutoOpenCheck->text(),
              " figer l'écran et ouvrir la barre d'outil automatiquement ");
    EXPECT_EQ(form.AutoCloseCheck->text(),
              " cliquer sur 'Terminer' [F9] pour fermer le programme ");
    EXPECT_EQ(form.AbbrBtn->text(), "Annuler");
    EXPECT_EQ(form.OkBtn->text(), "OK");
}

TEST_F(SettingsDialog, OpeningShowsTheSettingsEachTime) {
    struct Case {
        qint32 mode;
        bool autoOpen, autoClose;
        bool radio1, radio2;
    };
    // In this order, so an unknown mode follows a checked second radio button.
    const Case cases[] = {{2, true, false, false, true},
                          {3, false, true, false, false},
                          {1, true, true, true, false},
                          {0, false, false, false, false}};
    for (const Case& c : cases) {
        settings.MauszeigerMode = c.mode;
        settings.AutoOpen = c.autoOpen;
        settings.AutoClose = c.autoClose;
        open([&](TEinstellungenForm& shown) {
            EXPECT_EQ(shown.RadioMauszeiger1->isChecked(), c.radio1) << "mode " << c.mode;
            EXPECT_EQ(shown.RadioMauszeiger2->isChecked(), c.radio2) << "mode " << c.mode;
            EXPECT_EQ(shown.AutoOpenCheck->isChecked(), c.autoOpen) << "mode " << c.mode;
            EXPECT_EQ(shown.AutoCloseCheck->isChecked(), c.autoClose) << "mode " << c.mode;
            return int(QDialog::Rejected);
        });
    }
}

TEST_F(SettingsDialog, OkWithNeitherRadioCheckedStoresTheNormalPointer) {
    settings.MauszeigerMode = 3;
    EXPECT_TRUE(open(pressOk));
    EXPECT_EQ(settings.MauszeigerMode, 1);
    EXPECT_EQ(appliedModes, std::vector<int>{1});
}

TEST_F(SettingsDialog, OkTakesTheBoxesAndAppliesThePointerAtOnce) {
    EXPECT_TRUE(open([](TEinstellungenForm& shown) {
        shown.RadioMauszeiger2->click();
        shown.AutoOpenCheck->click();
        shown.AutoCloseCheck->click();
        return pressOk(shown);
    }));
    EXPECT_EQ(settings, (GlobalSettings{2, true, true, 3, 1, 1}));
    EXPECT_EQ(appliedModes, std::vector<int>{2});
    // The radio buttons still exclude each other after an unknown mode was shown.
    EXPECT_TRUE(open([](TEinstellungenForm& shown) {
        shown.RadioMauszeiger1->click();
        EXPECT_FALSE(shown.RadioMauszeiger2->isChecked());
        return pressOk(shown);
    }));
    EXPECT_EQ(settings.MauszeigerMode, 1);
}

TEST_F(SettingsDialog, CancelAndEscapeChangeNothing) {
    settings = GlobalSettings{3, true, false, 3, 1, 1};
    const GlobalSettings before = settings;
    auto changeBoxes = [](TEinstellungenForm& shown) {
        shown.RadioMauszeiger2->click();
        shown.AutoOpenCheck->click();
        shown.AutoCloseCheck->click();
    };
    EXPECT_FALSE(open([&](TEinstellungenForm& shown) {
        changeBoxes(shown);
        shown.AbbrBtn->click();
        return shown.result();
    }));
    EXPECT_FALSE(open([&](TEinstellungenForm& shown) {
        changeBoxes(shown);
        QTest::keyClick(&shown, Qt::Key_Escape);
        return shown.result();
    }));
    EXPECT_EQ(settings, before);
    EXPECT_TRUE(appliedModes.empty());
    open([](TEinstellungenForm& shown) {
        EXPECT_FALSE(shown.RadioMauszeiger2->isChecked()) << "reopening shows the settings again";
        EXPECT_TRUE(shown.AutoOpenCheck->isChecked());
        EXPECT_FALSE(shown.AutoCloseCheck->isChecked());
        return int(QDialog::Rejected);
    });
}

// The pointer mode 3 from the file goes back as 3 unless the dialog is confirmed.
TEST_F(SettingsDialog, AnUnknownStoredPointerModeIsStoredBackAsOneOnlyAfterOk) {
    class Host : public SettingsHost {
        double printValue(PrintField) const override { return 1.0; }
        void setPrintValue(PrintField, double) override {}
        bool seitRatio() const override { return true; }
        void setSeitRatio(bool) override {}
        QPoint palettePosition() const override { return {}; }
        QSize paletteOuterSize() const override { return {60, 50}; }
        void movePalette(QPoint) override {}
        QRect primaryScreen() const override { return {0, 0, 800, 600}; }
    } host;
    MemoryKeyStore store;
    store.writeDword("MauszeigerMode", 3);
    ASSERT_TRUE(LoadSettings(host, store, settings));
    open([](TEinstellungenForm&) { return int(QDialog::Rejected); });
    ASSERT_TRUE(SaveSettings(host, store, settings));
    EXPECT_EQ(store.readDword("MauszeigerMode"), 3);
    open(pressOk);
    ASSERT_TRUE(SaveSettings(host, store, settings));
    EXPECT_EQ(store.readDword("MauszeigerMode"), 1);
}
