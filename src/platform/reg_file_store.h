#pragma once
// The settings key kept in a registry export file (reg_file.h), by default
// $XDG_CONFIG_HOME/Brenholtsoft/Skribando.reg.
//
// Opening reads the file (creating it, holding the empty key, when there is none); writes go
// to a working copy; closing replaces the file as a whole through a temporary file and a
// rename, so a crash or a full disk while saving leaves the previous file intact.

#include "platform/settings_store.h"

// $XDG_CONFIG_HOME/Brenholtsoft/Skribando.reg, with ~/.config when the variable is unset,
// empty or not an absolute path.
QString defaultSettingsFile();

class RegFileStore : public KeyStore {
public:
    explicit RegFileStore(const QString& filePath = defaultSettingsFile());

    Outcome openKey(const QString& keyPath) override;
    std::optional<RegValue> readValue(const QString& name) const override;
    void writeValue(const QString& name, const RegValue& value) override;
    Outcome closeKey() override;

    QString filePath() const { return filePath_; }

    // Larger files are read only this far: the settings take a few hundred bytes.
    static constexpr qint64 kMaxReadBytes = 1 << 20;

private:
    Outcome writeFile(const QList<NamedValue>& values) const;

    QString filePath_;
    QString keyPath_;
    QList<NamedValue> read_;    // as found in the file at opening
    QList<NamedValue> written_; // since opening, in writing order
    bool open_ = false;
};
