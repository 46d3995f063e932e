// The settings loader fed any file. Each setting takes the file's value when it has the
// expected type and size (and, for the print measures, is a finite number), else keeps its
// default; loading never changes the file; saving then loading again gives the same
// settings bit for bit, and the save keeps the file's other values unchanged.
#include "app/settings.h"
#include "fuzz_check.h"
#include "platform/reg_file.h"
#include "platform/reg_file_store.h"
#include "support/plain_settings_host.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

namespace {

// Every home of a setting, doubles by their bits.
struct Homes {
    GlobalSettings settings;
    std::array<quint64, 4> print{};
    bool ratio = false;
    QPoint position;
    bool operator==(const Homes&) const = default;
};

Homes homesOf(const GlobalSettings& settings, const PlainSettingsHost& host) {
    Homes homes{settings, {}, host.ratio, host.position};
    for (size_t i = 0; i < 4; ++i)
        homes.print[i] = std::bit_cast<quint64>(host.print[i]);
    return homes;
}

std::optional<qint32> dwordIn(const QList<NamedValue>& values, const char* name) {
    const qsizetype i = indexOfValue(values, QString::fromLatin1(name));
    if (i < 0 || values[i].value.type != kRegDword || values[i].value.data.size() != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(values[i].value.data.constData());
}

std::optional<double> measureIn(const QList<NamedValue>& values, const char* name) {
    const qsizetype i = indexOfValue(values, QString::fromLatin1(name));
    if (i < 0 || values[i].value.type != kRegBinary || values[i].value.data.size() != 8)
        return std::nullopt;
    const double value =
        std::bit_cast<double>(qFromLittleEndian<quint64>(values[i].value.data.constData()));
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// What loading `values` over the defaults must give, written out setting by setting.
Homes expectedHomes(const QList<NamedValue>& values) {
    GlobalSettings s;
    PlainSettingsHost host;
    s.MauszeigerMode = dwordIn(values, "MauszeigerMode").value_or(s.MauszeigerMode);
    s.AutoOpen = dwordIn(values, "AutoOpen").value_or(s.AutoOpen) != 0;
    s.AutoClose = dwordIn(values, "AutoClose").value_or(s.AutoClose) != 0;
    s.StiftdickeMode = dwordIn(values, "StiftdickeMode").value_or(s.StiftdickeMode);
    s.FarbMode = dwordIn(values, "FarbMode").value_or(s.FarbMode);
    s.WerkzeugMode = dwordIn(values, "WerkzeugMode").value_or(s.WerkzeugMode);
    const char* measures[] = {"Drucken-LiRand", "Drucken-ObRand", "Drucken-Breite",
                              "Drucken-Hoehe"};
    for (size_t i = 0; i < 4; ++i)
        host.print[i] = measureIn(values, measures[i]).value_or(host.print[i]);
    host.ratio = dwordIn(values, "Drucken-SeitRatio").value_or(host.ratio) != 0;
    const int left = dwordIn(values, "WinPos-Left").value_or(host.position.x());
    const int top = dwordIn(values, "WinPos-Top").value_or(host.position.y());
    host.position = {std::min(left, 1920 - 60), std::min(top, 1080 - kKeepVisibleHeight)};
    return homesOf(s, host);
}

bool isSettingName(const QString& name) {
    for (const SettingDef& def : kSettingsTable)
        if (name.compare(QString::fromLatin1(def.name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

std::string describe(const NamedValue& value) {
    return QString("\"%1\" type %2 data %3")
        .arg(value.name)
        .arg(value.value.type)
        .arg(QString::fromLatin1(value.value.data.toHex(',')))
        .toStdString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = fuzz::scratchFolder() + "/Skribando.reg";
    const QByteArray original(reinterpret_cast<const char*>(data), qsizetype(size));
    writeFile(path, original);
    const QList<NamedValue> stored = parseRegFile(original, kSettingsKeyPath).values;

    GlobalSettings settings;
    PlainSettingsHost host;
    RegFileStore store(path);
    FUZZ_CHECK(LoadSettings(host, store, settings));
    const Homes loaded = homesOf(settings, host);
    FUZZ_CHECK(loaded == expectedHomes(stored), "a setting differs from the file or its default");
    FUZZ_CHECK(readFile(path) == original, "loading changed the file");

    FUZZ_CHECK(SaveSettings(host, store, settings));
    const QByteArray saved = readFile(path);
    GlobalSettings reloadedSettings;
    PlainSettingsHost reloadedHost;
    FUZZ_CHECK(LoadSettings(reloadedHost, store, reloadedSettings));
    FUZZ_CHECK(homesOf(reloadedSettings, reloadedHost) == loaded,
               "a setting changed in a round trip");

    // The key may hold values of other programs or versions; a save must not alter them.
    // The file is written in UTF-8, which cannot hold a name with a lone UTF-16 surrogate
    // (only a damaged Windows export has one): such a name comes back with U+FFFD.
    const QList<NamedValue> kept = parseRegFile(saved, kSettingsKeyPath).values;
    for (const NamedValue& value : stored) {
        if (isSettingName(value.name) || QString::fromUtf8(value.name.toUtf8()) != value.name)
            continue;
        const qsizetype i = indexOfValue(kept, value.name);
        FUZZ_CHECK(i >= 0 && kept[i] == value, "the save lost or changed %s",
                   describe(value).c_str());
    }
    return 0;
}
