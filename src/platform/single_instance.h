#pragma once
// NoMultiInst: one running instance per user. On Linux the guard is an exclusive lock on a
// per-user file named NoMultiMutex in the user's runtime folder; the system releases it
// when the process ends, also when it is killed, so a crash never blocks the next start.

#include <QString>

class SingleInstanceGuard {
public:
    // `lockFolder` empty: $XDG_RUNTIME_DIR, else the temporary folder with the user id.
    explicit SingleInstanceGuard(const QString& lockFolder = {});
    ~SingleInstanceGuard();
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // True when this process now holds the guard; false when another instance holds it.
    bool acquire();
    bool held() const { return fd_ >= 0; }
    QString lockFile() const { return lockFile_; }

private:
    QString lockFile_;
    int fd_ = -1;
};

// The folder the guard uses by default.
QString defaultLockFolder();
