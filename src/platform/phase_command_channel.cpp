#include "platform/phase_command_channel.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>

#include <array>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::array<std::pair<PhaseCommand, const char*>, 3> kWords{{
    {PhaseCommand::Start, "lancer"},
    {PhaseCommand::Finish, "terminer"},
    {PhaseCommand::Toggle, "basculer"},
}};

// Room for any word; a longer datagram comes back truncated and is dropped.
constexpr std::size_t kLongestDatagram = 32;
// The pause before a command is offered again while no instance listens on the socket yet.
constexpr unsigned long kRetryMs = 20;

bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || std::size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memset(&address, 0, sizeof(address));
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    return true;
}

QString systemError(const char* step) {
    return QString("%1: %2").arg(step, QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

QString PhaseCommandWord(PhaseCommand command) {
    for (const auto& [each, word] : kWords)
        if (each == command)
            return word;
    return {};
}

std::optional<PhaseCommand> PhaseCommandFromWord(const QString& word) {
    for (const auto& [command, each] : kWords)
        if (word == QLatin1String(each))
            return command;
    return std::nullopt;
}

QString PhaseCommandSocketPath(const QString& folder) {
    return folder + "/skribando.sock";
}

PhaseCommandListener::PhaseCommandListener(Handler handler) : handler_(std::move(handler)) {}

PhaseCommandListener::~PhaseCommandListener() {
    close();
}

void PhaseCommandListener::close() {
    notifier_.reset();
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(QFile::encodeName(path_).constData());
}

bool PhaseCommandListener::listen(const QString& path) {
    close();
    sockaddr_un address;
    if (!socketAddress(path, address)) {
        error_ = "socket path too long: " + path;
        return false;
    }
    // What an ended instance left is removed; anything but a socket there is not ours to remove.
    struct stat left;
    if (::lstat(address.sun_path, &left) == 0) {
        if (!S_ISSOCK(left.st_mode)) {
            error_ = "not a socket: " + path;
            return false;
        }
        ::unlink(address.sun_path);
    }
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error_ = systemError("socket");
        return false;
    }
    // On Linux the socket file takes the socket's own mode: set before binding, the file never
    // exists open to others, whatever the umask.
    const int on = 1;
    if (::fchmod(fd, 0600) != 0 || ::setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        error_ = systemError("bind");
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    struct stat made;
    if (::chmod(address.sun_path, 0600) != 0 || ::lstat(address.sun_path, &made) != 0 ||
        made.st_uid != ::geteuid() || (made.st_mode & 077) != 0) {
        error_ = "the socket file is not this user's alone: " + path;
        close();
        return false;
    }
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { receivePending(); });
    error_.clear();
    return true;
}

void PhaseCommandListener::receivePending() {
    if (fd_ < 0)
        return;
    // A handler may process events: the notifier rests until this round is over, so that a
    // command arriving meanwhile is read by the loop below instead of by a nested round.
    if (notifier_)
        notifier_->setEnabled(false);
    for (;;) {
        char data[kLongestDatagram];
        alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
        iovec part{data, sizeof data};
        msghdr message{};
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t size = ::recvmsg(fd_, &message, MSG_DONTWAIT | MSG_CMSG_CLOEXEC);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            break; // nothing more waiting
        }
        const cmsghdr* header = CMSG_FIRSTHDR(&message);
        const bool fromUs = header && header->cmsg_level == SOL_SOCKET &&
                            header->cmsg_type == SCM_CREDENTIALS &&
                            reinterpret_cast<const ucred*>(CMSG_DATA(header))->uid == ::getuid();
        if (!fromUs || (message.msg_flags & (MSG_TRUNC | MSG_CTRUNC)))
            continue;
        if (const auto command = PhaseCommandFromWord(QString::fromLatin1(data, size)))
            handler_(*command);
    }
    if (notifier_)
        notifier_->setEnabled(true);
}

namespace {

SendResult sendOnce(const QString& path, PhaseCommand command) {
    sockaddr_un address;
    if (!socketAddress(path, address))
        return SendResult::Failed;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return SendResult::Failed;
    const QByteArray word = PhaseCommandWord(command).toLatin1();
    ssize_t sent;
    do {
        sent = ::sendto(fd, word.constData(), std::size_t(word.size()), MSG_NOSIGNAL,
                        reinterpret_cast<sockaddr*>(&address), sizeof address);
    } while (sent < 0 && errno == EINTR);
    const int error = errno;
    ::close(fd);
    if (sent == word.size())
        return SendResult::Delivered;
    return error == ENOENT || error == ECONNREFUSED ? SendResult::NoListener : SendResult::Failed;
}

} // namespace

SendResult SendPhaseCommand(const QString& path, PhaseCommand command, int patienceMs) {
    QDeadlineTimer patience(patienceMs);
    for (;;) {
        const SendResult result = sendOnce(path, command);
        if (result != SendResult::NoListener || patience.hasExpired())
            return result;
        QThread::msleep(kRetryMs);
    }
}
