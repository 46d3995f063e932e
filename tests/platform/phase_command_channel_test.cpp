#include "platform/phase_command_channel.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

sockaddr_un socketAddress(const QString& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(),
                 sizeof address.sun_path - 1);
    return address;
}

bool sendBytes(const QString& path, const QByteArray& bytes) {
    const sockaddr_un address = socketAddress(path);
    const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
    const bool sent =
        sendto(fd, bytes.constData(), std::size_t(bytes.size()), 0,
               reinterpret_cast<const sockaddr*>(&address), sizeof address) == bytes.size();
    close(fd);
    return sent;
}

struct Channel {
    Channel() : path(PhaseCommandSocketPath(folder.path())) {}
    QTemporaryDir folder;
    QString path;
    std::vector<PhaseCommand> received;
    PhaseCommandListener listener{[this](PhaseCommand command) {
        received.push_back(command);
    }};
};

TEST(PhaseCommandChannel, CommandsArriveInOrderAndAnythingElseIsDropped) {
    Channel channel;
    ASSERT_TRUE(channel.listener.listen(channel.path)) << channel.listener.error();
    struct stat socketFile;
    ASSERT_EQ(stat(QFile::encodeName(channel.path).constData(), &socketFile), 0);
    EXPECT_EQ(socketFile.st_mode & 0777, 0600u);

    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Start), SendResult::Delivered);
    for (const char* junk : {"", "LANCER", "lancer\n", "terminer!", "basculer basculer"})
        ASSERT_TRUE(sendBytes(channel.path, junk));
    ASSERT_TRUE(sendBytes(channel.path, QByteArray("lancer") + QByteArray(200, ' ')));
    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Toggle), SendResult::Delivered);
    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Finish), SendResult::Delivered);
    channel.listener.receivePending();
    EXPECT_EQ(channel.received,
              (std::vector{PhaseCommand::Start, PhaseCommand::Toggle, PhaseCommand::Finish}));
}

TEST(PhaseCommandChannel, ALeftSocketIsReplacedAndOursIsRemovedAtTheEnd) {
    Channel channel;
    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Start), SendResult::NoListener);
    // An instance that was killed leaves its socket file behind, bound to nobody.
    const int killed = socket(AF_UNIX, SOCK_DGRAM, 0);
    const sockaddr_un address = socketAddress(channel.path);
    ASSERT_EQ(bind(killed, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    close(killed);
    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Start), SendResult::NoListener);

    ASSERT_TRUE(channel.listener.listen(channel.path)) << channel.listener.error();
    EXPECT_EQ(SendPhaseCommand(channel.path, PhaseCommand::Finish), SendResult::Delivered);
    channel.listener.receivePending();
    EXPECT_EQ(channel.received, std::vector{PhaseCommand::Finish});
}

TEST(PhaseCommandChannel, AnythingButASocketInItsPlaceIsLeftAlone) {
    Channel channel;
    QFile file(channel.path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("mine");
    file.close();
    EXPECT_FALSE(channel.listener.listen(channel.path));
    EXPECT_FALSE(channel.listener.error().isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "mine");
}

// Starting a drawing phase processes events while the screen is captured: a command arriving
// then must wait for the first to end, not start a second capture inside it.
TEST(PhaseCommandChannel, ACommandArrivingWhileOneIsHandledWaitsItsTurn) {
    QTemporaryDir folder;
    const QString path = PhaseCommandSocketPath(folder.path());
    int depth = 0, deepest = 0;
    std::vector<PhaseCommand> received;
    PhaseCommandListener listener([&](PhaseCommand command) {
        deepest = std::max(deepest, ++depth);
        received.push_back(command);
        if (command == PhaseCommand::Start) {
            SendPhaseCommand(path, PhaseCommand::Finish);
            for (int round = 0; round < 5; ++round)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        --depth;
    });
    ASSERT_TRUE(listener.listen(path));
    SendPhaseCommand(path, PhaseCommand::Start);
    for (int round = 0; round < 10 && received.size() < 2; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(received, (std::vector{PhaseCommand::Start, PhaseCommand::Finish}));
    EXPECT_EQ(deepest, 1);
}

// Another user is kept out by the socket's mode, and were the mode opened, by the credentials
// every datagram carries. Switching users needs root, as ./test.sh runs.
TEST(PhaseCommandChannel, AnotherUserCannotGetACommandIn) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to send as another user";
    Channel channel;
    ASSERT_TRUE(channel.listener.listen(channel.path));
    ASSERT_EQ(chmod(QFile::encodeName(channel.folder.path()).constData(), 0755), 0);
    const auto sendAsNobody = [&] {
        const pid_t child = fork();
        if (child == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                _exit(3);
            _exit(SendPhaseCommand(channel.path, PhaseCommand::Start) == SendResult::Delivered);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(sendAsNobody(), 0) << "the mode 0600 refuses the connection";
    ASSERT_EQ(chmod(QFile::encodeName(channel.path).constData(), 0666), 0);
    EXPECT_EQ(sendAsNobody(), 1) << "with the mode opened, the datagram gets through";
    channel.listener.receivePending();
    EXPECT_TRUE(channel.received.empty()) << "but its sender is not our user";
}

} // namespace
