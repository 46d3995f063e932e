#pragma once
// The channel through which a later start of the program asks the running instance to start or
// finish a drawing phase, so that a desktop shortcut can do it from anywhere.
//
// It is a Unix datagram socket in the folder of the single-instance lock. Only the user gets
// in: the socket is mode 0600, and each datagram carries its sender's credentials, checked
// against our own user. Each command is one datagram holding one word; anything else that
// arrives is dropped.

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QSocketNotifier;

enum class PhaseCommand { Start, Finish, Toggle };

// The word a command travels as, and back; nullopt for anything else.
QString PhaseCommandWord(PhaseCommand command);
std::optional<PhaseCommand> PhaseCommandFromWord(const QString& word);

// The socket's path in `folder` (the single-instance lock's folder).
QString PhaseCommandSocketPath(const QString& folder);

class PhaseCommandListener {
public:
    using Handler = std::function<void(PhaseCommand)>;
    explicit PhaseCommandListener(Handler handler);
    ~PhaseCommandListener();
    PhaseCommandListener(const PhaseCommandListener&) = delete;
    PhaseCommandListener& operator=(const PhaseCommandListener&) = delete;

    // Binds the socket at `path`, replacing a file left there by an instance that has ended:
    // call it only while holding the single-instance guard. False with `error()` set when the
    // socket cannot be made.
    bool listen(const QString& path);
    QString error() const { return error_; }

    // Hands every command waiting on the socket to the handler, in arrival order. The event
    // loop calls it when the socket has data; commands that arrive while the handler runs
    // (it may process events) wait for the next round instead of nesting.
    void receivePending();

private:
    void close();

    Handler handler_;
    int fd_ = -1;
    QString path_;
    QString error_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

enum class SendResult {
    Delivered,
    NoListener, // no socket, or nobody bound to it (an instance still starting, or one gone)
    Failed,
};

// Sends one command to the socket at `path`. While nobody listens, tries again for up to
// `patienceMs`: the instance holding the guard may not have bound its socket yet.
SendResult SendPhaseCommand(const QString& path, PhaseCommand command, int patienceMs = 0);
