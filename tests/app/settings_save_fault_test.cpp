// A settings save that is killed midway or that fails leaves settings that load whole: the
// previous ones or the new ones, never a mix or a cut-off file.
#include "app/settings.h"
#include "support/file_size_limit.h"
#include "support/plain_settings_host.h"

#include "folder_permissions.h"
#include "platform/reg_file_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Snapshot {
    GlobalSettings settings;
    PlainSettingsHost host;

    bool operator==(const Snapshot& other) const {
        return settings == other.settings && host.print == other.host.print &&
               host.ratio == other.host.ratio && host.position == other.host.position;
    }
};

// Two sets of settings that differ in every value.
Snapshot first() {
    Snapshot s;
    s.settings = {2, true, false, 4, 12, 7};
    s.host.print = {3.0, 4.0, 5.0, 6.0};
    s.host.ratio = false;
    s.host.position = {100, 200};
    return s;
}

Snapshot second() {
    Snapshot s;
    s.settings = {1, false, true, 2, 5, 3};
    s.host.print = {0.5, 0.25, 12.5, 9.75};
    s.host.ratio = true;
    s.host.position = {-40, 900};
    return s;
}

Snapshot load(const QString& path) {
    Snapshot s;
    RegFileStore store(path);
    EXPECT_TRUE(LoadSettings(s.host, store, s.settings));
    return s;
}

bool save(const QString& path, const Snapshot& s) {
    RegFileStore store(path);
    return bool(SaveSettings(s.host, store, s.settings));
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A forked process that is killed at the latest when the test leaves its scope.
struct ChildProcess {
    pid_t pid = -1;
    // True when the process was still running until killed.
    bool kill() {
        int status = 0;
        ::kill(pid, SIGKILL);
        const bool killed = waitpid(pid, &status, 0) == pid && WIFSIGNALED(status);
        pid = -1;
        return killed;
    }
    ~ChildProcess() {
        if (pid > 0)
            kill();
    }
};

class SettingsSaveFault : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(folder));
        // Large values of other programs in the key make each save long enough to be cut
        // into (and keep the file below the size the store reads).
        RegFileStore store(path);
        ASSERT_TRUE(store.openKey(kSettingsKeyPath));
        for (int i = 0; i < 8; ++i)
            store.writeValue(QString("Fremd-%1").arg(i),
                             RegValue{kRegBinary, QByteArray(30000, char(i))});
        ASSERT_TRUE(store.closeKey());
        ASSERT_TRUE(save(path, first()));
        firstBytes = readAll(path);
        ASSERT_TRUE(save(path, second()));
        secondBytes = readAll(path);
        ASSERT_TRUE(save(path, first()));
        ASSERT_GT(firstBytes.size(), 500000);
        ASSERT_LT(firstBytes.size(), RegFileStore::kMaxReadBytes);
    }

    QStringList filesBesideSettings() const {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir dir;
    QString folder = dir.path() + "/Brenholtsoft";
    QString path = folder + "/Skribando.reg";
    QByteArray firstBytes, secondBytes;
};

} // namespace

TEST_F(SettingsSaveFault, ASaveKilledAtAnyMomentLeavesTheOldOrTheNewSettingsWhole) {
    int cutMidway = 0;
    for (int round = 0; round < 24; ++round) {
        ChildProcess child;
        child.pid = fork();
        if (child.pid == 0) {
            // Saves the two sets in turn until it is killed.
            for (bool one = false;; one = !one)
                save(path, one ? first() : second());
        }
        ASSERT_GT(child.pid, 0);
        // Reading while the child saves sees a whole file at every moment.
        for (int look = 0; look < 3 + round; ++look) {
            usleep(useconds_t(137 * round));
            const QByteArray seen = readAll(path);
            ASSERT_TRUE(seen == firstBytes || seen == secondBytes)
                << "round " << round << ": read " << seen.size() << " bytes mid-save";
        }
        // Every other kill waits for a temporary file, to land inside the writing.
        if (round % 2 == 1) {
            for (int wait = 0; wait < 20000 && filesBesideSettings().size() < 2; ++wait)
                usleep(100);
            usleep(useconds_t(50 * round));
        }
        ASSERT_TRUE(child.kill()) << "the saving process ended by itself";

        const QByteArray left = readAll(path);
        ASSERT_TRUE(left == firstBytes || left == secondBytes)
            << "round " << round << ": " << left.size() << " bytes after the kill";
        const Snapshot loaded = load(path);
        EXPECT_TRUE(loaded == first() || loaded == second()) << "round " << round;
        // A killed save leaves its temporary file; the settings file itself is never cut.
        cutMidway += filesBesideSettings().size() > 1;
        for (const QString& name : filesBesideSettings())
            if (name != "Skribando.reg")
                QFile::remove(folder + "/" + name);
    }
    EXPECT_GT(cutMidway, 0) << "no kill landed inside a save; the test did not test";
}

TEST_F(SettingsSaveFault, ASaveThatFailsKeepsThePreviousSettingsLoadable) {
    // A full disk (a file size limit, which binds root too) and a folder that cannot be
    // written into.
    for (bool fullDisk : {true, false}) {
        SCOPED_TRACE(fullDisk ? "full disk" : "read-only folder");
        bool saved = true;
        if (fullDisk) {
            saved = withFileSizeLimit(4096, [&] { return save(path, second()); });
        } else {
            ReadOnlyFolder readOnly(folder);
            if (!readOnly.active())
                GTEST_SKIP() << "this process writes into read-only folders";
            saved = save(path, second());
        }
        EXPECT_FALSE(saved) << "the failed save is reported";
        EXPECT_EQ(readAll(path), firstBytes);
        EXPECT_TRUE(load(path) == first());
        EXPECT_EQ(filesBesideSettings(), QStringList{"Skribando.reg"});
    }
}
