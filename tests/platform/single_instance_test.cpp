#include "platform/single_instance.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(SingleInstanceGuard, OnlyOneHolderAtATimeAndReleasedWhenDropped) {
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstanceGuard>(folder.path());
    ASSERT_TRUE(first->acquire());
    EXPECT_TRUE(first->lockFile().endsWith("/NoMultiMutex"));
    SingleInstanceGuard second(folder.path());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstanceGuard, AKilledHolderFreesTheGuard) {
    QTemporaryDir folder;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        SingleInstanceGuard guard(folder.path());
        char ok = guard.acquire() ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause(); // holds the guard until killed
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    SingleInstanceGuard parent(folder.path());
    EXPECT_FALSE(parent.acquire()) << "another process holds it";
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(parent.acquire()) << "the system released the killed process's lock";
    close(ready[0]);
    close(ready[1]);
}

// Without a runtime folder the lock lives in the shared temporary folder, where another user
// could have made the folder or the file first.
TEST(SingleInstanceGuard, ALockFolderOthersCouldTamperWithIsNotUsed) {
    QTemporaryDir top;
    const QString fresh = top.path() + "/fresh";
    SingleInstanceGuard made(fresh);
    ASSERT_TRUE(made.acquire());
    EXPECT_TRUE(made.held()) << made.problem();
    EXPECT_EQ(QFileInfo(fresh).permissions() & 0x0777,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);

    const QString shared = top.path() + "/shared";
    ASSERT_EQ(mkdir(QFile::encodeName(shared).constData(), 0777), 0);
    ASSERT_EQ(chmod(QFile::encodeName(shared).constData(), 0777), 0);
    SingleInstanceGuard inOpenFolder(shared);
    EXPECT_TRUE(inOpenFolder.acquire()) << "the program still starts";
    EXPECT_FALSE(inOpenFolder.held());
    EXPECT_TRUE(inOpenFolder.problem().contains("open to other users")) << inOpenFolder.problem();

    const QString link = top.path() + "/link";
    ASSERT_EQ(symlink(QFile::encodeName(fresh).constData(), QFile::encodeName(link).constData()),
              0);
    SingleInstanceGuard throughLink(link);
    EXPECT_TRUE(throughLink.acquire());
    EXPECT_FALSE(throughLink.held());

    // Another user's folder, closed to others: only a process allowed to give files away
    // (root) can make one to try.
    const QString theirs = top.path() + "/theirs";
    ASSERT_EQ(mkdir(QFile::encodeName(theirs).constData(), 0700), 0);
    if (chown(QFile::encodeName(theirs).constData(), 65534, 65534) == 0) {
        SingleInstanceGuard inTheirFolder(theirs);
        EXPECT_TRUE(inTheirFolder.acquire());
        EXPECT_TRUE(inTheirFolder.problem().contains("another user")) << inTheirFolder.problem();
    }

    // A lock file others may write to, in a folder of ours.
    const QString writable = top.path() + "/writable";
    ASSERT_EQ(mkdir(QFile::encodeName(writable).constData(), 0700), 0);
    const QByteArray lock = QFile::encodeName(writable + "/NoMultiMutex");
    ASSERT_EQ(close(open(lock.constData(), O_CREAT | O_WRONLY, 0600)), 0);
    ASSERT_EQ(chmod(lock.constData(), 0666), 0);
    SingleInstanceGuard writableLock(writable);
    EXPECT_TRUE(writableLock.acquire());
    EXPECT_FALSE(writableLock.held());
}
