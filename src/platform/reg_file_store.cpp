#include "platform/reg_file_store.h"

#include "platform/file_replacement.h"
#include "platform/reg_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

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

Outcome RegFileStore::openKey(const QString& keyPath) {
    keyPath_ = keyPath;
    read_.clear();
    written_.clear();
    open_ = false;
    QFile file(filePath_);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return Outcome::failed(filePath_ + ": " + file.errorString());
        read_ = parseRegFile(readAtMost(file, kMaxReadBytes), keyPath).values;
    } else if (Outcome created = writeFile({}); !created) {
        return created; // the key cannot be created
    }
    open_ = true;
    return Outcome::ok();
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

Outcome RegFileStore::closeKey() {
    if (!open_)
        return Outcome::failed(filePath_ + ": the settings key is not open");
    open_ = false;
    if (written_.isEmpty())
        return Outcome::ok(); // nothing changed: the file stays as it was
    // The values written now, in their order, then those of the file that were not rewritten.
    QList<NamedValue> values = written_;
    for (const NamedValue& value : read_) {
        if (indexOfValue(values, value.name) < 0)
            values.append(value);
    }
    return writeFile(values);
}

Outcome RegFileStore::writeFile(const QList<NamedValue>& values) const {
    if (!QDir().mkpath(QFileInfo(filePath_).absolutePath()))
        return Outcome::failed(cannotCreateMessage(filePath_));
    return replaceFileContents(filePath_, formatRegFile(keyPath_, values));
}
