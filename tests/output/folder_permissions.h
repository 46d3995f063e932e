#pragma once
// A folder the test process cannot write into, even when the tests run as root (root
// writes anywhere unless it gives up the capability to override file permissions; this
// thread gives it up for the scope).

#include <QString>

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // False when the folder could not be made read-only for this process.
    bool active() const { return active_; }

private:
    QString path_;
    bool active_ = false;
    bool capabilityDropped_ = false;
    unsigned savedEffective_ = 0;
};
