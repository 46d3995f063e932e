#pragma once
// The info box's texts and web addresses: the German design texts and the French texts
// written over them at run time.

#include <QString>

namespace infotexts {

// The product's web page and the caption that shows it (host name only).
QString ProductAddress();
QString ProductCaption();
// The advertised web page (with its referral key) and its caption.
QString AdvertAddress();
QString AdvertCaption();

// Notice of rights with contact details (7 lines).
QString Memo1Design();
QString Memo1French();
// Terms of use and legal notice (19 lines).
QString Memo2Design();
QString Memo2French();

QString TranslatorThanks();

} // namespace infotexts
