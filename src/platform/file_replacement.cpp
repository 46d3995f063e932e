#include "platform/file_replacement.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kGatherBytes = 64 * 1024;

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The permissions a new file gets: the usual ones, less what the user's mask takes away. The
// mask can only be read by setting it; nothing else here creates files meanwhile.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

QString cannotCreateMessage(const QString& fileName) {
    return QString("Datei %1 kann nicht erstellt werden.").arg(fileName);
}

FileReplacement::FileReplacement(const QString& target) : target_(target) {
    const QFileInfo info(target);
    file_ = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : target);
}

FileReplacement::~FileReplacement() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temporary_.constData());
    }
}

Outcome FileReplacement::open() {
    if (target_.isEmpty())
        return Outcome::failed(cannotCreateMessage(target_));
    temporary_ = file_ + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0)
        return Outcome::failed(cannotCreateMessage(target_));
    struct stat old {};
    const mode_t mode = ::stat(file_.constData(), &old) == 0 ? old.st_mode & 07777 : newFileMode();
    ::fchmod(fd_, mode); // a file left at 0600 is still a whole, readable file
    buffer_.reserve(kGatherBytes);
    return Outcome::ok();
}

Outcome FileReplacement::writeFailure() const {
    return Outcome::failed(
        QString("Fehler beim Schreiben der Datei %1 (%2).").arg(target_, systemReason()));
}

Outcome FileReplacement::write(const void* data, size_t size) {
    if (buffer_.size() + qsizetype(size) <= kGatherBytes) {
        buffer_.append(static_cast<const char*>(data), qsizetype(size));
        return Outcome::ok();
    }
    if (Outcome flushed = flushBuffer(); !flushed)
        return flushed;
    if (qsizetype(size) < kGatherBytes) {
        buffer_.append(static_cast<const char*>(data), qsizetype(size));
        return Outcome::ok();
    }
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t done = ::write(fd_, next, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return writeFailure();
        next += done;
        size -= size_t(done);
        written_ += done;
    }
    handToDisk();
    return Outcome::ok();
}

Outcome FileReplacement::flushBuffer() {
    const char* next = buffer_.constData();
    qsizetype left = buffer_.size();
    while (left > 0) {
        const ssize_t done = ::write(fd_, next, size_t(left));
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return writeFailure();
        next += done;
        left -= done;
        written_ += done;
    }
    buffer_.clear();
    handToDisk();
    return Outcome::ok();
}

// The file is forced to the disk before it replaces the target; handing each megabyte to
// the disk as soon as it is written lets that final wait overlap the writing.
void FileReplacement::handToDisk() {
#ifdef __linux__
    constexpr off_t kStep = 1 << 20;
    if (written_ - handedToDisk_ < kStep)
        return;
    ::sync_file_range(fd_, handedToDisk_, written_ - handedToDisk_, SYNC_FILE_RANGE_WRITE);
    handedToDisk_ = written_;
#endif
}

Outcome FileReplacement::commit() {
    if (Outcome flushed = flushBuffer(); !flushed)
        return flushed;
    if (::fsync(fd_) != 0)
        return writeFailure();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 || ::rename(temporary_.constData(), file_.constData()) != 0) {
        const Outcome failure = writeFailure();
        ::unlink(temporary_.constData());
        return failure;
    }
    // Make the rename itself lasting; a failure here no longer endangers either version.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(QFile::decodeName(file_)).absolutePath()).constData(),
               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return Outcome::ok();
}

Outcome replaceFileContents(const QString& path, const QByteArray& bytes) {
    FileReplacement file(path);
    Outcome outcome = file.open();
    if (outcome)
        outcome = file.write(bytes.constData(), size_t(bytes.size()));
    if (outcome)
        outcome = file.commit();
    return outcome;
}
