#pragma once
// The outcome of writing a picture: success, or the text the user is shown for the failure.
// Every step of a save returns one, so a failure travels up unchanged to the message box.

#include <QString>
#include <utility>

class SaveStatus {
public:
    static SaveStatus ok() { return SaveStatus(); }
    static SaveStatus failed(QString message) { return SaveStatus(std::move(message)); }

    bool isOk() const { return !failed_; }
    explicit operator bool() const { return isOk(); }
    // The user's text; empty on success.
    const QString& message() const { return message_; }

private:
    SaveStatus() = default;
    explicit SaveStatus(QString message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    QString message_;
};
