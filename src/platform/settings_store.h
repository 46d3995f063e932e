#pragma once
// The program keeps its settings as named, typed values under one key, as the Windows
// registry holds them. KeyStore is that key; RegFileStore (reg_file_store.h) keeps it in a
// file, MemoryKeyStore in memory for tests.

#include "platform/outcome.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The key every setting lives under (below HKEY_CURRENT_USER).
inline const QString kSettingsKeyPath = QStringLiteral("Software\\Brenholtsoft\\Skribando");

// Registry type codes of the values the program writes; other codes are carried unchanged.
constexpr quint32 kRegSz = 1;
constexpr quint32 kRegBinary = 3;
constexpr quint32 kRegDword = 4;

struct RegValue {
    quint32 type = kRegBinary;
    QByteArray data; // as the registry stores it: little-endian for numbers

    bool operator==(const RegValue&) const = default;
};

struct NamedValue {
    QString name;
    RegValue value;

    bool operator==(const NamedValue&) const = default;
};

class KeyStore {
public:
    virtual ~KeyStore() = default;

    // Opens the key, creating it when missing; fails when it can be neither read nor created.
    virtual Outcome openKey(const QString& keyPath) = 0;
    // The value of that name (case-insensitive, as in the registry), if there is one.
    virtual std::optional<RegValue> readValue(const QString& name) const = 0;
    virtual void writeValue(const QString& name, const RegValue& value) = 0;
    // Makes the written values lasting and closes the key; on failure what was stored before
    // stays as it was.
    virtual Outcome closeKey() = 0;

    // Typed reads take only a value of the expected type and size; anything else reads as
    // missing, so the caller's default stands.
    std::optional<qint32> readDword(const QString& name) const;
    std::optional<double> readDouble(const QString& name) const; // 8 binary bytes
    void writeDword(const QString& name, qint32 value);
    void writeDouble(const QString& name, double value);
};

// Finds a value by name the way the registry does (ignoring case); -1 when absent.
qsizetype indexOfValue(const QList<NamedValue>& values, const QString& name);

// A key in memory: for tests, and as the working copy of the file store.
class MemoryKeyStore : public KeyStore {
public:
    Outcome openKey(const QString& keyPath) override;
    std::optional<RegValue> readValue(const QString& name) const override;
    void writeValue(const QString& name, const RegValue& value) override;
    Outcome closeKey() override;

    // In the order they were first written; a rewrite keeps a value's place.
    const QList<NamedValue>& values() const { return values_; }
    QString openedKey() const { return openedKey_; }
    bool isOpen() const { return open_; }
    // Makes the next openKey fail, as an unusable store would.
    void setFailOpen(bool fail) { failOpen_ = fail; }

private:
    QList<NamedValue> values_;
    QString openedKey_;
    bool open_ = false;
    bool failOpen_ = false;
};
