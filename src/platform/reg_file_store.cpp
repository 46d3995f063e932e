#include "platform/reg_file_store.h"

#include "platform/reg_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

QString defaultSettingsFile() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/Brenholtsoft/Skribando.reg");
}

namespace {

// QIODevice::read(limit) takes a buffer of the whole limit first; the file is a few hundred
// bytes, and every opening, at load and at save, would pay for a megabyte. Reading goes on
// to the end, whatever size the file claims.
QByteArray readAtMost(QFile& file, qint64 limit) {
    const qint64 step = std::max<qint64>(file.size(), 4096);
    QByteArray bytes;
    while (bytes.size() < limit) {
        const QByteArray chunk = file.read(std::min(limit - bytes.size(), step));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
    return bytes;
}

} // namespace

RegFileStore::RegFileStore(const QString& filePath) : filePath_(filePath) {}

bool RegFileStore::openKey(const QString& keyPath) {
    keyPath_ = keyPath;
    read_.clear();
    written_.clear();
    open_ = false;
    QFile file(filePath_);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return false;
        read_ = parseRegFile(readAtMost(file, MaxReadBytes), keyPath).values;
    } else if (!writeFile({})) {
        return false; // the key cannot be created
    }
    open_ = true;
    return true;
}

std::optional<RegValue> RegFileStore::readValue(const QString& name) const {
    for (const QList<NamedValue>* values : {&written_, &read_}) {
        qsizetype index = indexOfValue(*values, name);
        if (index >= 0)
            return (*values)[index].value;
    }
    return std::nullopt;
}

void RegFileStore::writeValue(const QString& name, const RegValue& value) {
    qsizetype index = indexOfValue(written_, name);
    if (index >= 0)
        written_[index].value = value;
    else
        written_.append(NamedValue{name, value});
}

bool RegFileStore::closeKey() {
    if (!open_)
        return false;
    open_ = false;
    if (written_.isEmpty())
        return true; // nothing changed: the file stays as it was
    // The values written now, in their order, then those of the file that were not rewritten.
    QList<NamedValue> values = written_;
    for (const NamedValue& value : read_) {
        if (indexOfValue(values, value.name) < 0)
            values.append(value);
    }
    return writeFile(values);
}

bool RegFileStore::writeFile(const QList<NamedValue>& values) const {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return false;
    return replaceFileContents(filePath_, formatRegFile(keyPath_, values));
}

namespace {

bool writeAllBytes(int fd, const QByteArray& bytes) {
    const char* next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        ssize_t written = ::write(fd, next, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

// QSaveFile is not used: it takes a short write (a disk that fills up mid-way) for success
// and renames the cut-off file over the old one.
bool replaceFileContents(const QString& path, const QByteArray& bytes) {
    // A settings file linked from elsewhere (a dotfile collection) stays linked: its target is
    // replaced, not the link.
    const QFileInfo info(path);
    const QString file = info.isSymLink() ? info.symLinkTarget() : path;
    const QByteArray target = QFile::encodeName(file);
    QByteArray temporary = target + ".XXXXXX";
    int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = writeAllBytes(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temporary.constData());
        return false;
    }
    // Make the rename itself lasting; a failure here no longer endangers either version.
    int folder = ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
