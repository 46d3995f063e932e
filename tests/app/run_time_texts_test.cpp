// The French texts the windows show from the palette's first activation on.
#include "app/einstellungen_form.h"
#include "app/run_time_texts.h"
#include "app/start_texts.h"
#include "app/tool_form.h"
#include "controls/info_box.h"
#include "output/druck_form.h"
#include "output/save_command.h"
#include "platform/printer_paper.h"
#include "surface/widget/screen_form.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class RunTimeTexts : public testing::Test {
protected:
    void SetUp() override {
        ResetStartTexts();
        palette.AttachSurface(surface, screen);
        palette.grabScreen = [] {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(Qt::white);
            return picture;
        };
        palette.applyRunTimeTexts = [this] {
            ApplyRunTimeTexts({&palette, &infoBox, &settingsDialog,
                               [this] { druckForm.ApplyRunTimeTexts(); }, &save});
        };
    }
    void TearDown() override {
        screen.hide();
        ResetStartTexts();
    }
    QString menuText(const char* item) const {
        return TToolForm::MenuCaption(palette.menuItem(item));
    }

    TToolForm palette;
    DrawingSurface surface{palette.drawingState()};
    TScreenForm screen{surface};
    TInfoBox infoBox{"1.2.2007.05.18 (français)", "/opt/skribando/Hilfe/", "hilfe-fr.html"};
    TEinstellungenForm settingsDialog;
    PaperPrinter printer{"Test", "", PrinterMetrics{600, 600, 0, 0}, QSize(4960, 7016)};
    TDruckForm druckForm{printer};
    SaveCommand save{[](const SaveDialogRequest&, QWidget*) {
        return std::nullopt;
    }};
};

TEST_F(RunTimeTexts, StartButtonReadsStartThenLancerThenTerminer) {
    EXPECT_EQ(palette.StartFertigBtn->text(), "Start");
    palette.FormActivate();
    EXPECT_EQ(palette.StartFertigBtn->text(), "Lancer");
    EXPECT_EQ(menuText("StartFertig1"), "Lancer");
    palette.StartFertigBtnClick();
    EXPECT_EQ(palette.StartFertigBtn->text(), "Terminer");
    EXPECT_EQ(menuText("StartFertig1"), "Terminer");
    EXPECT_EQ(palette.StartFertigBtn->toolTip(),
              "Ferme la barre d'outils\net affiche l'ecran initial");
    palette.StartFertigBtnClick();
    EXPECT_EQ(palette.StartFertigBtn->toolTip(),
              "Fige l'ecran et ouvre\nla barre d'outils Skribando.");
    EXPECT_EQ(HintTable[0], "Fige l'ecran et ouvre\r\nla barre d'outils Skribando.");
}

TEST_F(RunTimeTexts, EveryMenuItemAndHintIsFrench) {
    palette.FormActivate();
    const std::pair<const char*, const char*> menu[] = {
        {"Strichdicke1", "Taille du crayon"},
        {"Farbe1", "Couleur"},
        {"Dicke1", "&1"},
        {"Dicke4", "&4"},
        {"MarkCol1", "Rouge transparent"},
        {"MarkCol5", "Bleu transparent"},
        {"DeckCol2", "Jaune opaque"},
        {"DeckCol3", "Vert opaque"},
        {"Stift1", "Crayon"},
        {"Radiergummi1", "Gommer"},
        {"Linie1", "Segment"},
        {"Pfeil1", "Flèche"},
        {"DoppelPfeil1", "Doucle-flèche"},
        {"Rechteck1", "Rectangle"},
        {"Ellipse1", "Ellipse"},
        {"Text1", "Texte"},
        {"Haekchen1", "Coche"},
        {"Kreuz1", "Croix"},
        {"Rckgngig1", "Annuler"},
        {"Alleslschen1", "Effacer"},
        {"Drucken1", "Imprimer"},
        {"Speichern1", "Enregistrer..."},
        {"IndieZwischenablage1", "Copier dans le presse-papier"},
        {"Info1", "Infos / Réglages / Aide"},
    };
    for (auto [item, text] : menu)
        EXPECT_EQ(menuText(item), QString::fromUtf8(text)) << item;

    const std::pair<const char*, const char*> hints[] = {
        {"Dicke2Btn", "Taille du crayon 2"},
        {"MarkCol3Btn", "Vert transparent"},
        {"DeckCol1Btn", "Rouge opaque"},
        {"StiftBtn", "Crayon"},
        {"SchwammBtn", "Gommer"},
        {"DoppelpfeilBtn", "Doucle-flèche"},
        {"HaekchenBtn", "Coche"},
        {"RueckgaengigBtn", "Annuler"},
        {"ClearBtn", "Effacer"},
        {"DruckBtn", "Imprimer"},
        {"SaveBtn", "Enregistrer"},
        {"ClipBtn", "Copier dans le presse-papier"},
        {"InfoBtn", "Infos / Réglages / Aide"},
    };
    for (auto [button, hint] : hints)
        EXPECT_EQ(palette.button(button)->toolTip(), QString::fromUtf8(hint)) << button;
}

TEST_F(RunTimeTexts, ShortcutsKeepTheirGermanKeyNames) {
    palette.FormActivate();
    auto shortcutColumn = [&](const char* item) {
        return palette.menuItem(item)->text().section('\t', 1);
    };
    EXPECT_EQ(shortcutColumn("Rckgngig1"), QString::fromUtf8("Strg+Rück"));
    EXPECT_EQ(shortcutColumn("Alleslschen1"), "Strg+Entf");
    EXPECT_EQ(shortcutColumn("DeckCol1"), "Umsch+Alt+1");
    EXPECT_EQ(shortcutColumn("MarkCol5"), "Alt+4");
    EXPECT_EQ(shortcutColumn("Stift1"), "Alt+S");
    EXPECT_EQ(shortcutColumn("StartFertig1"), "F9");
    EXPECT_EQ(shortcutColumn("Info1"), "F1");
    EXPECT_EQ(shortcutColumn("Dicke3"), "Strg+3");
}

TEST_F(RunTimeTexts, SaveDialogGetsItsFrenchTitleAndFilter) {
    EXPECT_EQ(save.dialogState().title, "Bildschirminhalt speichern");
    palette.FormActivate();
    EXPECT_EQ(save.dialogState().title, "Enregistrer l'ecran");
    EXPECT_EQ(
        save.dialogState().filter,
        "PNG (*.png)|*.png|JPEG (*.jpg)|*.jpg|Bitmap (*.bmp)|*.bmp|Tous les fichiers (*.*)|*.*");
}

// Every text a window shows: captions, labels, group boxes, buttons, hints and menu items.
QStringList ShownTexts(QWidget& window) {
    QStringList texts{window.windowTitle(), window.toolTip()};
    for (QWidget* w : window.findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            texts << b->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            texts << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            texts << g->title();
    }
    for (QAction* a : window.findChildren<QAction*>())
        texts << TToolForm::MenuCaption(a);
    return texts;
}

TEST_F(RunTimeTexts, NoGermanDesignTextIsLeftAfterTheFirstActivation) {
    palette.FormActivate();
    // Design texts that must be replaced; "Information", "Info", "Internet:", "OK" and the
    // shortcut names stay German on purpose.
    const char* german[] = {
        "Start",
        "Fertig",
        "Strichdicke",
        "Farbe",
        "Transparentes rot",
        "Deckendes blau",
        "Stift",
        "Zeichenstift",
        "Radiergummi",
        "Linie",
        "Pfeil",
        "Doppelpfeil",
        "Rechteck",
        "Text",
        "Häkchen",
        "Kreuz",
        "Rückgängig",
        "Alles löschen",
        "Drucken...",
        "Drucken",
        "Speichern...",
        "Speichern",
        "In die Zwischenablage",
        "Info / Einstellungen / Hilfe",
        "Strichdicke 1",
        "transparentes gelb",
        "deckendes grün",
        "Hilfe",
        "Einstellungen...",
        "Schließen",
        "Surftipp:",
        "Onlinerechner für Ihre Finanzen",
        "Einstellungen",
        " Mauszeiger auf Zeichenfläche ",
        " normal ",
        " ausblenden (nur Werkzeugsymbol)",
        " Programmstart und -ende ",
        "Abbrechen",
        " Zeichenfunktionen sofort bei Programmstart öffnen ",
        "Bildschirminhalt drucken",
        " Position und Größe ",
        " Drucker ",
        "Einrichten...",
        "&Linker Rand:",
        "&Oberer Rand:",
        "&Breite:",
        "&Höhe:",
        "Korrektes &Seitenverhältnis",
        " Mit Klick auf 'Fertig' [F9] gesamtes Programm beenden ",
    };
    for (QWidget* window :
         {static_cast<QWidget*>(&palette), static_cast<QWidget*>(&infoBox),
          static_cast<QWidget*>(&settingsDialog), static_cast<QWidget*>(&druckForm)}) {
        const QStringList shown = ShownTexts(*window);
        for (const char* text : german)
            EXPECT_FALSE(shown.contains(QString::fromUtf8(text)))
                << window->metaObject()->className() << " still shows \"" << text << "\"";
    }
}

} // namespace
