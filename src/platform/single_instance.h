#pragma once
// NoMultiInst: one running instance per user. On Linux the guard is an exclusive lock on a
// per-user file named NoMultiMutex in the user's runtime folder; the system releases it
// when the process ends, also when it is killed, so a crash never blocks the next start.

#include <QString>

class SingleInstanceGuard {
public:
    // `lockFolder` empty: $XDG_RUNTIME_DIR, else a folder of this user's in the temporary
    // folder.
    explicit SingleInstanceGuard(const QString& lockFolder = {});
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // False when another instance holds the guard. True when this process holds it now, and
    // also when the lock cannot be used safely (`problem()` says why): a lock folder or file
    // that another user made or can write to must not keep this user's program from
    // starting, so the program then runs without the guard.
    bool acquire();
    bool held() const { return fd_ >= 0; }
    // Why the guard could not be used; empty when it was.
    QString problem() const { return problem_; }
    QString lockFile() const { return lockFile_; }

private:
    QString lockFolder_;
    QString lockFile_;
    QString problem_;
    int fd_ = -1;
};

// The folder the guard uses by default.
QString defaultLockFolder();
