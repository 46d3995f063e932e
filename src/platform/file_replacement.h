#pragma once
// Replaces a file so that a failure never destroys what it replaces: the bytes go to a
// temporary file beside the target, which is forced to the disk and renamed over the target
// only once all of it is written. The new file keeps the permissions of the one it replaces,
// and a target that is a link is replaced at the link's end, so the link stays. On any
// failure the old file stays as it was and no temporary file remains.
//
// QSaveFile is not used: it takes a short write (a disk that fills up on the way) for
// success and renames the cut-off file over the old one.

#include "platform/outcome.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <sys/types.h>

class FileReplacement {
public:
    explicit FileReplacement(const QString& target);
    ~FileReplacement(); // drops the temporary file unless committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the temporary file.
    Outcome open();
    // Appends every byte; a write the disk takes only in part fails.
    Outcome write(const void* data, size_t size);
    // Forces the file to the disk and moves it over the target.
    Outcome commit();

private:
    Outcome flushBuffer();
    Outcome writeFailure() const;
    void handToDisk();

    QString target_;  // as the user named it, for the messages
    QByteArray file_; // the file replaced: the target, or the end of its link
    QByteArray temporary_;
    int fd_ = -1;
    QByteArray buffer_; // small writes are gathered, so each is no system call of its own
    off_t written_ = 0;
    off_t handedToDisk_ = 0;
};

// Replaces the file's contents with `bytes`.
Outcome replaceFileContents(const QString& path, const QByteArray& bytes);

// The text shown when the file cannot be created (protected folder, invalid path).
QString cannotCreateMessage(const QString& fileName);
