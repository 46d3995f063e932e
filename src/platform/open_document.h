#pragma once
// Hands a document or web address to the desktop, which opens it with the program the
// user chose for it (the browser for web pages and HTML files).

#include <QString>
#include <QUrl>
#include <functional>

// The URL an address stands for. A "file://" address is taken as "file://" followed by a
// local path, every character of it literal: blanks, accents, "#" and "%" included.
// Anything else is parsed as a URL.
QUrl DocumentUrl(const QString& address);

// Asks the desktop to open the address; false when it cannot be opened, among others when
// a local file does not exist.
bool OpenDocumentAddress(const QString& address);

// Tests replace the desktop's handler; an empty function restores it.
using DesktopOpener = std::function<bool(const QUrl& url)>;
void setDesktopOpener(DesktopOpener opener);
