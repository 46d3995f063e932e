// The info box made on first use behaves as one made at start.
#include "app/einstellungen_form.h"
#include "app/info_box_on_demand.h"

#include <gtest/gtest.h>

TEST(InfoBoxOnDemand, MadeLateItTakesTheTextsAndTheSettingsDialogItWouldHaveHad) {
    TEinstellungenForm settingsDialog;
    int settingsOpened = 0;
    {
        InfoBoxOnDemand infoBox("1.0", "/h/", "h.html", settingsDialog, [&] { ++settingsOpened; });
        infoBox.useRunTimeTexts();
        EXPECT_EQ(infoBox.existing(), nullptr);

        TInfoBox& box = infoBox.get();
        EXPECT_EQ(&infoBox.get(), &box);
        EXPECT_EQ(box.HilfeBtn->text(), "Aide");
        EXPECT_EQ(settingsDialog.parentWidget(), &box);
        emit box.EinstellBtn->Click();
        EXPECT_EQ(settingsOpened, 1);
    }
    // The box went without taking the dialog with it.
    EXPECT_EQ(settingsDialog.parentWidget(), nullptr);
}

TEST(InfoBoxOnDemand, TextsAppliedAfterTheBoxIsMadeReachIt) {
    TEinstellungenForm settingsDialog;
    InfoBoxOnDemand infoBox("1.0", "/h/", "h.html", settingsDialog, [] {});
    EXPECT_EQ(infoBox.get().HilfeBtn->text(), "Hilfe");
    infoBox.useRunTimeTexts();
    EXPECT_EQ(infoBox.get().HilfeBtn->text(), "Aide");
}
