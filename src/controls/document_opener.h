#pragma once
// OpenDocument: the one way the program hands a document or web address to the desktop.

#include <QString>

// The error text when an address cannot be opened: the address exactly as given, then the
// French sentence.
QString OpenFailureText(const QString& address);

// Opens the address with the desktop's handler; when that fails, says so in an error box
// and returns after the user has closed it.
void OpenDocument(const QString& address);
