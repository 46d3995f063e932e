#include "app/start_texts.h"

std::array<QString, 2> CaptionTable;
std::array<QString, 2> HintTable;

namespace {
struct DesignTexts {
    DesignTexts() { ResetStartTexts(); }
} designTexts;
} // namespace

void ResetStartTexts() {
    CaptionTable = {QStringLiteral("Start"), QStringLiteral("Fertig")};
    HintTable = {
        QStringLiteral("Bildschirm einfrieren und\r\nZeichenfunktion aktivieren"),
        QStringLiteral("Zeichenfunktionen abschalten\r\nund Bildschirm wieder herstellen")};
}

void SetRunTimeStartTexts() {
    CaptionTable = {QStringLiteral("Lancer"), QStringLiteral("Terminer")};
    HintTable = {QStringLiteral("Fige l'ecran et ouvre\r\nla barre d'outils Skribando."),
                 QStringLiteral("Ferme la barre d'outils\r\net affiche l'ecran initial")};
}
