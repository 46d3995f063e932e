#include "platform/single_instance.h"

#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
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
