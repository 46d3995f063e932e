#pragma once
// The result of a step that can fail: success, or the text that says what went wrong. Every
// step returns one, so a failure travels up unchanged to where it is shown.

#include <QString>
#include <utility>

class [[nodiscard]] Outcome {
public:
    static Outcome ok() { return Outcome(); }
    static Outcome failed(QString message) { return Outcome(std::move(message)); }

    bool isOk() const { return !failed_; }
    explicit operator bool() const { return isOk(); }
    // What went wrong; empty on success.
    const QString& message() const { return message_; }

private:
    Outcome() = default;
    explicit Outcome(QString message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    QString message_;
};
