#include "platform/settings_store.h"

#include <QtEndian>
#include <bit>

std::optional<qint32> KeyStore::readDword(const QString& name) const {
    std::optional<RegValue> value = readValue(name);
    if (!value || value->type != kRegDword || value->data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(value->data.constData());
}

std::optional<double> KeyStore::readDouble(const QString& name) const {
    std::optional<RegValue> value = readValue(name);
    if (!value || value->type != kRegBinary || value->data.size() != 8)
        return std::nullopt;
    return std::bit_cast<double>(qFromLittleEndian<quint64>(value->data.constData()));
}

void KeyStore::writeDword(const QString& name, qint32 value) {
    QByteArray data(4, '\0');
    qToLittleEndian<qint32>(value, data.data());
    writeValue(name, RegValue{kRegDword, data});
}

void KeyStore::writeDouble(const QString& name, double value) {
    QByteArray data(8, '\0');
    qToLittleEndian<quint64>(std::bit_cast<quint64>(value), data.data());
    writeValue(name, RegValue{kRegBinary, data});
}

qsizetype indexOfValue(const QList<NamedValue>& values, const QString& name) {
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (values[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

Outcome MemoryKeyStore::openKey(const QString& keyPath) {
    if (failOpen_)
        return Outcome::failed("the key cannot be opened");
    openedKey_ = keyPath;
    open_ = true;
    return Outcome::ok();
}

std::optional<RegValue> MemoryKeyStore::readValue(const QString& name) const {
    qsizetype index = indexOfValue(values_, name);
    if (index < 0)
        return std::nullopt;
    return values_[index].value;
}

void MemoryKeyStore::writeValue(const QString& name, const RegValue& value) {
    qsizetype index = indexOfValue(values_, name);
    if (index < 0)
        values_.append(NamedValue{name, value});
    else
        values_[index].value = value;
}

Outcome MemoryKeyStore::closeKey() {
    open_ = false;
    return Outcome::ok();
}
