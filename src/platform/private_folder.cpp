#include "platform/private_folder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

Outcome ensurePrivateFolder(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return Outcome::failed(path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
    // lstat, so that a link someone put there is refused rather than followed.
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0)
        return Outcome::failed(path + ": " + QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISDIR(status.st_mode))
        return Outcome::failed(path + " is not a folder");
    if (status.st_uid != ::geteuid())
        return Outcome::failed(path + " belongs to another user");
    if ((status.st_mode & 077) != 0)
        return Outcome::failed(path + " is open to other users");
    return Outcome::ok();
}
