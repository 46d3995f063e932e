#include "app/run_time_texts.h"

#include "app/drawing_choices.h"
#include "app/einstellungen_form.h"
#include "app/start_texts.h"
#include "app/tool_form.h"
#include "controls/info_box.h"
#include "output/save_command.h"

#include <QAction>
#include <QToolButton>

namespace {

struct NamedText {
    const char* name;
    const char* text;
};

// Menu items and buttons that are not one of the three choice groups.
constexpr NamedText kMenuTexts[] = {
    {"StartFertig1", "Terminer"},
    {"Strichdicke1", "Taille du crayon"},
    {"Farbe1", "Couleur"},
    {"Rckgngig1", "Annuler"},
    {"Alleslschen1", "Effacer"},
    {"Drucken1", "Imprimer"},
    {"Speichern1", "Enregistrer..."},
    {"IndieZwischenablage1", "Copier dans le presse-papier"},
    {"Info1", "Infos / Réglages / Aide"},
};

constexpr NamedText kButtonHints[] = {
    {"RueckgaengigBtn", "Annuler"},
    {"ClearBtn", "Effacer"},
    {"DruckBtn", "Imprimer"},
    {"SaveBtn", "Enregistrer"},
    {"ClipBtn", "Copier dans le presse-papier"},
    {"InfoBtn", "Infos / Réglages / Aide"},
};

void SetPaletteTexts(TToolForm& palette) {
    for (const NamedText& item : kMenuTexts)
        TToolForm::SetMenuCaption(palette.menuItem(item.name), QString::fromUtf8(item.text));
    for (const ColourChoice& c : kColourChoices)
        TToolForm::SetMenuCaption(palette.menuItem(c.menuItem), QString::fromUtf8(c.runTimeText));
    for (const ToolChoice& t : kToolChoices)
        TToolForm::SetMenuCaption(palette.menuItem(t.menuItem), QString::fromUtf8(t.runTimeText));

    for (const WidthChoice& w : kWidthChoices)
        palette.button(w.button)->setToolTip(QString::fromUtf8(w.runTimeHint));
    for (const ColourChoice& c : kColourChoices)
        palette.button(c.button)->setToolTip(QString::fromUtf8(c.runTimeText));
    for (const ToolChoice& t : kToolChoices)
        palette.button(t.button)->setToolTip(QString::fromUtf8(t.runTimeText));
    for (const NamedText& hint : kButtonHints)
        palette.button(hint.name)->setToolTip(QString::fromUtf8(hint.text));
}

} // namespace

void ApplyRunTimeTexts(const RunTimeTextTargets& targets) {
    SetRunTimeStartTexts();
    if (targets.palette)
        SetPaletteTexts(*targets.palette);
    if (targets.infoBox)
        targets.infoBox->ApplyRunTimeTexts();
    if (targets.settingsDialog)
        targets.settingsDialog->ApplyRunTimeTexts();
    if (targets.printDialog)
        targets.printDialog();
    if (targets.save)
        targets.save->setTexts(kSaveDialogRunTimeTitle, kSaveDialogRunTimeFilter);
    if (targets.palette)
        targets.palette->UpdateStartCaption();
}
