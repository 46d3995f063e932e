#include "platform/single_instance.h"

#include "platform/private_folder.h"

#include <QDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

QString defaultLockFolder() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    return QDir::tempPath() + QString("/skribando-%1").arg(::geteuid());
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockFolder)
    : lockFolder_(lockFolder.isEmpty() ? defaultLockFolder() : lockFolder),
      lockFile_(lockFolder_ + "/NoMultiMutex") {}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0)
        ::close(fd_); // closing the descriptor drops the lock
}

bool SingleInstanceGuard::acquire() {
    if (fd_ >= 0)
        return true;
    problem_.clear();
    if (const Outcome folder = ensurePrivateFolder(lockFolder_); !folder) {
        problem_ = folder.message();
        return true;
    }
    const int fd = ::open(QFile::encodeName(lockFile_).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        problem_ = lockFile_ + ": " + QString::fromLocal8Bit(std::strerror(errno));
        return true;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || status.st_uid != ::geteuid() || (status.st_mode & 022)) {
        ::close(fd);
        problem_ = lockFile_ + " belongs to another user or others can write to it";
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}
