#pragma once
// Every message box of the program goes through here, so tests can answer them.

#include <QString>
#include <functional>

class QWidget;

enum class MessageKind {
    Error,       // caption "Fehler", error icon
    Information, // caption "Information", information icon
    AppError,    // the general error box: caption "Skribando", error icon
};

// The caption of a box of this kind.
QString messageCaption(MessageKind kind);

// Shows a modal box with one "OK" button, centred on the screen above the topmost window of
// ours, and returns when it is closed; the focus then goes back to the window that had it.
void showMessage(MessageKind kind, const QString& text, QWidget* parent = nullptr);

// Tests install a handler that records the box instead of showing it; an empty function
// restores the real boxes.
using MessageHandler = std::function<void(MessageKind kind, const QString& text)>;
void setMessageHandler(MessageHandler handler);
