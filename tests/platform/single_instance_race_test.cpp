// Second starts racing the kill of the running instance: each either refuses or starts, and
// no start happens while the first instance still lives.
#include "platform/single_instance.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// Shared by the test and the processes it forks.
struct Board {
    std::atomic<bool> killSent;    // set just before the first instance is killed
    std::atomic<int> starts;       // second starts that took the guard
    std::atomic<int> earlyStarts;  // ... before the first instance was killed
    std::atomic<int> refusals;     // second starts that were refused
    std::atomic<int> contendersUp; // second starts ready to try
};

Board* sharedBoard() {
    void* memory =
        mmap(nullptr, sizeof(Board), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : new (memory) Board{};
}

// Forked processes, killed at the latest when the test leaves its scope.
struct Processes {
    std::vector<pid_t> pids;
    void killAll() {
        for (pid_t pid : pids) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pids.clear();
    }
    ~Processes() { killAll(); }
};

// A program start: takes the guard and keeps it until killed, or is refused and tries again
// (a user starting it over and over) until the deadline.
[[noreturn]] void startAgainAndAgain(const QString& folder, Board& board) {
    ++board.contendersUp;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        SingleInstanceGuard guard(folder);
        if (guard.acquire()) {
            const bool holderKilled = board.killSent.load();
            ++board.starts;
            if (!holderKilled)
                ++board.earlyStarts;
            pause(); // runs until the test kills it
        }
        ++board.refusals;
    }
    _exit(0);
}

} // namespace

TEST(SingleInstanceGuard, ASecondStartWhileTheFirstIsKilledRefusesOrStartsNeverBoth) {
    Board* board = sharedBoard();
    ASSERT_NE(board, nullptr);
    QTemporaryDir folder;
    int refusalsSeen = 0;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        new (board) Board{};
        Processes processes;
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t first = fork();
        if (first == 0) {
            SingleInstanceGuard guard(folder.path());
            const char held = guard.acquire() ? 'y' : 'n';
            (void)!write(ready[1], &held, 1);
            pause();
            _exit(0);
        }
        processes.pids.push_back(first);
        char held = 0;
        ASSERT_EQ(read(ready[0], &held, 1), 1);
        close(ready[0]);
        close(ready[1]);
        ASSERT_EQ(held, 'y');

        for (int i = 0; i < 4; ++i) {
            pid_t contender = fork();
            if (contender == 0)
                startAgainAndAgain(folder.path(), *board);
            processes.pids.push_back(contender);
        }
        while (board->contendersUp < 4)
            std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(150 * round));
        board->killSent = true;
        kill(first, SIGKILL);

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (board->starts == 0 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // room for a wrong second start
        EXPECT_EQ(board->earlyStarts, 0) << "a start took the guard from a running instance";
        EXPECT_EQ(board->starts, 1) << "exactly one start follows the killed instance";
        refusalsSeen += board->refusals;
        processes.killAll();
    }
    EXPECT_GT(refusalsSeen, 0) << "no start raced the running instance";
    munmap(board, sizeof(Board));
}
