#include "controls/info_texts.h"

#include <QStringList>

namespace infotexts {

namespace {

QString lines(std::initializer_list<const char*> rows) {
    QStringList joined;
    for (const char* row : rows)
        joined << QString::fromUtf8(row);
    return joined.join(QLatin1Char('\n'));
}

} // namespace

QString ProductAddress() {
    return QStringLiteral("https://www.skribando.example.org/");
}
QString ProductCaption() {
    return QStringLiteral("www.skribando.example.org");
}
QString AdvertAddress() {
    return QStringLiteral("https://www.finanzrechner.example.net/?src_id=skb7");
}
QString AdvertCaption() {
    return QStringLiteral("www.finanzrechner.example.net");
}

QString Memo1Design() {
    return lines({
        "Skribando © 2007 Brenholtsoft. Alle Rechte vorbehalten.",
        "",
        "Brenholtsoft",
        "Beispielweg 1a",
        "00000 Musterstadt, Deutschland",
        "",
        "E-Mail: kontakt@brenholtsoft.example.org",
    });
}

QString Memo1French() {
    return lines({
        "Skribando © 2007 Brenholtsoft. Tous droits réservés.",
        "",
        "Brenholtsoft",
        "1 bis, chemin des Exemples",
        "F-00000 Villeneuve-sur-Exemple, France",
        "",
        "Courriel : contact@brenholtsoft.example.org",
    });
}

QString Memo2Design() {
    return lines({
        "Nutzungsbedingungen",
        "",
        "Skribando ist kostenlos und darf privat und geschäftlich frei genutzt werden.",
        "",
        "Die Software wird ohne jede Gewährleistung zur Verfügung gestellt. Die Nutzung erfolgt "
        "auf "
        "eigene Gefahr.",
        "",
        "Kopien dürfen frei weitergegeben werden; ein kommerzieller Vertrieb ist nur mit Erlaubnis "
        "des "
        "Autors gestattet.",
        "",
        "Der Name des Autors muss stets genannt werden.",
        "",
        "Das Programm darf nicht verändert werden.",
        "",
        "Skribando © 2007 Brenholtsoft. Alle Rechte vorbehalten.",
        "Brenholtsoft",
        "Beispielweg 1a",
        "00000 Musterstadt, Deutschland",
        "kontakt@brenholtsoft.example.org",
        "",
        "www.skribando.example.org",
    });
}

QString Memo2French() {
    return lines({
        "Conditions d'utilisation",
        "",
        "Skribando est un logiciel gratuit. Vous pouvez l'utiliser librement, aussi bien à des "
        "fins "
        "privées que professionnelles, sans aucune inscription.",
        "",
        "Ce logiciel est fourni « tel quel », sans aucune garantie d'aucune sorte, expresse ou "
        "implicite. L'auteur ne peut être tenu responsable d'aucun dommage, perte de données ou "
        "manque à gagner résultant de son utilisation ou de l'impossibilité de l'utiliser. Vous "
        "l'utilisez à vos risques et périls.",
        "",
        "Vous pouvez copier et distribuer librement des copies de ce programme. Toute distribution "
        "commerciale (vente, revues, compilations payantes) est interdite sans l'autorisation "
        "écrite "
        "de l'auteur.",
        "",
        "Le nom de l'auteur doit toujours être mentionné, et le programme doit être transmis "
        "complet, accompagné de ce texte.",
        "",
        "Il est interdit de modifier le programme, de le décompiler ou d'en distribuer des "
        "versions "
        "modifiées.",
        "",
        "Skribando © 2007 Brenholtsoft. Tous droits réservés.",
        "Brenholtsoft",
        "1 bis, chemin des Exemples",
        "F-00000 Villeneuve-sur-Exemple, France",
        "contact@brenholtsoft.example.org",
        "",
        "www.skribando.example.org",
    });
}

QString TranslatorThanks() {
    return QString::fromUtf8("Merci à Camille Fournier pour la traduction française.");
}

} // namespace infotexts
