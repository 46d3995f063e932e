#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString defaultLockFolder() {
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime;
    QString folder = QDir::tempPath() + QString("/skribando-%1").arg(getuid());
    QDir().mkpath(folder);
    return folder;
}

SingleInstanceGuard::SingleInstanceGuard(const QString& lockFolder)
    : lockFile_((lockFolder.isEmpty() ? defaultLockFolder() : lockFolder) + "/NoMultiMutex") {}

SingleInstanceGuard::~SingleInstanceGuard() {
    if (fd_ >= 0)
        ::close(fd_); // closing the descriptor drops the lock
}

bool SingleInstanceGuard::acquire() {
    if (fd_ >= 0)
        return true;
    int fd = ::open(QFile::encodeName(lockFile_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // an unusable lock folder must not keep the program from starting
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}
