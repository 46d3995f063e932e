#include "app/settings.h"

#include "controls/num_edit.h"
#include "platform/reg_file_store.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <bit>
#include <gtest/gtest.h>
#include <limits>
#include <map>

namespace {

// The palette as the settings see it, with the print dialog's real numeric fields.
class FieldHost : public SettingsHost {
public:
    FieldHost() {
        const char* designTexts[] = {"2,5", "1,8", "16,0", "17,0"};
        for (int i = 0; i < 4; ++i)
            fields[i].setText(designTexts[i]);
        box.setChecked(true);
    }
    double printValue(PrintField field) const override { return edit(field).Value(); }
    void setPrintValue(PrintField field, double value) override { edit(field).setValue(value); }
    bool seitRatio() const override { return box.isChecked(); }
    void setSeitRatio(bool checked) override { box.setChecked(checked); }
    QPoint palettePosition() const override { return position; }
    QSize paletteOuterSize() const override { return {60, 50}; }
    void movePalette(QPoint topLeft) override {
        position = topLeft;
        ++moves;
    }
    QRect primaryScreen() const override { return screen; }

    TNumEditQ& edit(PrintField field) const { return fields[static_cast<int>(field)]; }

    mutable TNumEditQ fields[4];
    QCheckBox box;
    QPoint position{1860, 0}; // where the palette is placed at creation
    QRect screen{0, 0, 1920, 1080};
    int moves = 0;
};

// A host whose print fields keep their values exactly, for bit-for-bit round trips.
class ExactHost : public FieldHost {
public:
    double printValue(PrintField field) const override { return values.at(field); }
    void setPrintValue(PrintField field, double value) override { values[field] = value; }
    std::map<PrintField, double> values{{PrintField::LiRand, 2.5},
                                        {PrintField::ObRand, 1.8},
                                        {PrintField::Breite, 16.0},
                                        {PrintField::Hoehe, 17.0}};
};

const QByteArray kFileStart = "Windows Registry Editor Version 5.00\r\n\r\n"
                              "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n";

// The values of a file that differ from every default.
const QList<QByteArray> kOwnValueLines = {
    "\"MauszeigerMode\"=dword:00000002",
    "\"AutoOpen\"=dword:00000001",
    "\"AutoClose\"=dword:00000001",
    "\"StiftdickeMode\"=dword:00000004",
    "\"FarbMode\"=dword:0000000c",
    "\"WerkzeugMode\"=dword:00000007",
    "\"Drucken-LiRand\"=hex:00,00,00,00,00,00,08,40", // 3.0
    "\"Drucken-ObRand\"=hex:00,00,00,00,00,00,10,40", // 4.0
    "\"Drucken-Breite\"=hex:00,00,00,00,00,00,14,40", // 5.0
    "\"Drucken-Hoehe\"=hex:00,00,00,00,00,00,18,40",  // 6.0
    "\"Drucken-SeitRatio\"=dword:00000000",
    "\"WinPos-Left\"=dword:00000064", // 100
    "\"WinPos-Top\"=dword:000000c8",  // 200
};

QByteArray fileWith(const QList<QByteArray>& lines) {
    QByteArray text = kFileStart;
    for (const QByteArray& line : lines)
        text += line + "\r\n";
    return text + "\r\n";
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Each of the thirteen homes as it stands, to compare with defaults or file values.
std::vector<double> homesOf(const GlobalSettings& s, const SettingsHost& host) {
    return {double(s.MauszeigerMode),
            double(s.AutoOpen),
            double(s.AutoClose),
            double(s.StiftdickeMode),
            double(s.FarbMode),
            double(s.WerkzeugMode),
            host.printValue(PrintField::LiRand),
            host.printValue(PrintField::ObRand),
            host.printValue(PrintField::Breite),
            host.printValue(PrintField::Hoehe),
            double(host.seitRatio()),
            double(host.palettePosition().x()),
            double(host.palettePosition().y())};
}
const std::vector<double> kDefaultHomes = {1, 0, 0, 3, 1, 1, 2.5, 1.8, 16, 17, 1, 1860, 0};
const std::vector<double> kOwnHomes = {2, 1, 1, 4, 12, 7, 3, 4, 5, 6, 0, 100, 200};

class SettingsFile : public testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.path() + "/Brenholtsoft/Skribando.reg";
    RegFileStore store{path};
    GlobalSettings settings;

    void load(SettingsHost& host, const QByteArray& text) {
        QDir().mkpath(dir.path() + "/Brenholtsoft");
        writeAll(path, text);
        EXPECT_TRUE(LoadSettings(host, store, settings));
    }
};

} // namespace

TEST_F(SettingsFile, FirstRunCreatesTheKeyAndTheCloseFillsAllThirteenValuesInOrder) {
    FieldHost host;
    EXPECT_TRUE(LoadSettings(host, store, settings));
    EXPECT_EQ(readAll(path), kFileStart + "\r\n") << "the empty key exists after loading";
    EXPECT_EQ(homesOf(settings, host), kDefaultHomes);
    EXPECT_EQ(host.moves, 1);

    EXPECT_TRUE(SaveSettings(host, store, settings));
    EXPECT_EQ(readAll(path), fileWith({
                                 "\"MauszeigerMode\"=dword:00000001",
                                 "\"AutoOpen\"=dword:00000000",
                                 "\"AutoClose\"=dword:00000000",
                                 "\"StiftdickeMode\"=dword:00000003",
                                 "\"FarbMode\"=dword:00000001",
                                 "\"WerkzeugMode\"=dword:00000001",
                                 "\"Drucken-LiRand\"=hex:00,00,00,00,00,00,04,40",
                                 "\"Drucken-ObRand\"=hex:cd,cc,cc,cc,cc,cc,fc,3f",
                                 "\"Drucken-Breite\"=hex:00,00,00,00,00,00,30,40",
                                 "\"Drucken-Hoehe\"=hex:00,00,00,00,00,00,31,40",
                                 "\"Drucken-SeitRatio\"=dword:00000001",
                                 "\"WinPos-Left\"=dword:00000744",
                                 "\"WinPos-Top\"=dword:00000000",
                             }));
}

TEST_F(SettingsFile, EachMissingValueKeepsItsDefaultWhileTheOthersAreRead) {
    for (int missing = 0; missing < 13; ++missing) {
        FieldHost host;
        settings = GlobalSettings();
        QList<QByteArray> lines = kOwnValueLines;
        lines.removeAt(missing);
        load(host, fileWith(lines));
        std::vector<double> expected = kOwnHomes;
        expected[missing] = kDefaultHomes[missing];
        EXPECT_EQ(homesOf(settings, host), expected) << "without " << kSettingsTable[missing].name;
    }
}

TEST_F(SettingsFile, ValuesOfAnotherTypeOrSizeKeepTheDefault) {
    FieldHost host;
    load(host, fileWith({
                   "\"MauszeigerMode\"=hex:02,00,00,00",
                   "\"AutoOpen\"=hex(4):01,00",
                   "\"AutoClose\"=\"1\"",
                   "\"StiftdickeMode\"=hex(4):04,00,00,00,00",
                   "\"FarbMode\"=dword:0000000",
                   "\"WerkzeugMode\"=hex:07",
                   "\"Drucken-LiRand\"=dword:00000003",
                   "\"Drucken-ObRand\"=hex:00,00,00,00,00,00,10",
                   "\"Drucken-Breite\"=hex:00,00,00,00,00,00,f8,7f", // not a number
                   "\"Drucken-Hoehe\"=hex:00,00,00,00,00,00,f0,ff",  // minus infinity
                   "\"Drucken-SeitRatio\"=hex:00,00,00,00",
                   "\"WinPos-Left\"=hex(b):64,00,00,00,00,00,00,00",
                   "\"WinPos-Top\"=dword:c8",
               }));
    EXPECT_EQ(homesOf(settings, host), kDefaultHomes);
    EXPECT_EQ(host.edit(PrintField::Breite).text(), "16,0") << "the design text stays";
}

TEST_F(SettingsFile, BooleansReadAsNonZeroAndAreWrittenAsOne) {
    FieldHost host;
    load(host, fileWith({"\"AutoOpen\"=dword:00000005", "\"AutoClose\"=dword:80000000",
                         "\"Drucken-SeitRatio\"=dword:ffffffff"}));
    EXPECT_TRUE(settings.AutoOpen);
    EXPECT_TRUE(settings.AutoClose);
    EXPECT_TRUE(host.seitRatio());
    ASSERT_TRUE(SaveSettings(host, store, settings));
    const QByteArray saved = readAll(path);
    EXPECT_TRUE(saved.contains("\"AutoOpen\"=dword:00000001\r\n"));
    EXPECT_TRUE(saved.contains("\"AutoClose\"=dword:00000001\r\n"));
    EXPECT_TRUE(saved.contains("\"Drucken-SeitRatio\"=dword:00000001\r\n"));
}

TEST_F(SettingsFile, ThePaletteIsClampedToTheRightAndBottomEdgesOnly) {
    struct Case {
        const char* what;
        QList<QByteArray> lines;
        QPoint expected; // screen 1920 x 1080, palette 60 pixels wide
    };
    const Case cases[] = {
        {"inside", {"\"WinPos-Left\"=dword:00000064", "\"WinPos-Top\"=dword:000000c8"}, {100, 200}},
        {"left too large sits flush right", {"\"WinPos-Left\"=dword:00001388"}, {1860, 0}},
        {"left exactly flush", {"\"WinPos-Left\"=dword:00000744"}, {1860, 0}},
        {"top 5000 keeps 21 pixels above the bottom",
         {"\"WinPos-Top\"=dword:00001388"},
         {1860, 1059}},
        {"negative left stays negative",
         {"\"WinPos-Left\"=dword:ffffffe2", "\"WinPos-Top\"=dword:fffffff6"},
         {-30, -10}},
        {"extremes",
         {"\"WinPos-Left\"=dword:7fffffff", "\"WinPos-Top\"=dword:80000000"},
         {1860, std::numeric_limits<int>::min()}},
        {"missing: the current place, clamped too", {}, {1860, 0}},
    };
    for (const Case& c : cases) {
        FieldHost host;
        host.position = {1900, 0}; // beyond the right edge before loading
        load(host, fileWith(c.lines));
        EXPECT_EQ(host.position, c.expected) << c.what;
        EXPECT_EQ(host.moves, 1) << c.what;
    }

    // A primary screen right of and below another monitor: its own edges bound the palette.
    FieldHost host;
    host.screen = QRect(960, 100, 960, 1080);
    load(host, fileWith({"\"WinPos-Left\"=dword:00001388", "\"WinPos-Top\"=dword:00001388"}));
    EXPECT_EQ(host.position, QPoint(960 + 960 - 60, 100 + 1080 - 21));
}

TEST_F(SettingsFile, ARoundTripKeepsEveryValueBitForBit) {
    const QByteArray original = fileWith({
        "\"MauszeigerMode\"=dword:00000003",
        "\"AutoOpen\"=dword:00000001",
        "\"AutoClose\"=dword:00000000",
        "\"StiftdickeMode\"=dword:ffffffff",
        "\"FarbMode\"=dword:0000000f",
        "\"WerkzeugMode\"=dword:0000000a",
        "\"Drucken-LiRand\"=hex:9a,99,99,99,99,99,b9,3f", // 0.1
        "\"Drucken-ObRand\"=hex:00,00,00,00,00,00,00,80", // -0.0
        "\"Drucken-Breite\"=hex:01,00,00,00,00,00,00,00", // the smallest subnormal
        "\"Drucken-Hoehe\"=hex:ff,ff,ff,ff,ff,ff,ef,7f",  // the largest double
        "\"Drucken-SeitRatio\"=dword:00000000",
        "\"WinPos-Left\"=dword:fffff000",
        "\"WinPos-Top\"=dword:00000010",
    });
    ExactHost host;
    load(host, original);
    EXPECT_EQ(settings.MauszeigerMode, 3) << "no range check on loading";
    EXPECT_EQ(std::bit_cast<quint64>(host.values[PrintField::ObRand]), 0x8000000000000000ull);
    ASSERT_TRUE(SaveSettings(host, store, settings));
    EXPECT_EQ(readAll(path), original);
}

TEST_F(SettingsFile, AStoredMarginShowsAsTheFieldFormatsIt) {
    FieldHost host;
    load(host, fileWith({"\"Drucken-LiRand\"=hex:00,00,00,00,00,00,0a,40"})); // 3.25
    EXPECT_EQ(host.edit(PrintField::LiRand).text(), WriteNumberText(3.25, 1, QLocale()));
    EXPECT_EQ(host.edit(PrintField::LiRand).text().size(), 3) << "one decimal";
}

// Whatever part of a damaged file the loader reads is what was stored; the rest keeps its
// default.
TEST_F(SettingsFile, ATruncatedFileLoadsEachSettingAsStoredOrAsItsDefault) {
    const QByteArray full = fileWith(kOwnValueLines);
    for (qsizetype length = 0; length <= full.size(); ++length) {
        FieldHost host;
        settings = GlobalSettings();
        load(host, full.left(length));
        std::vector<double> homes = homesOf(settings, host);
        for (size_t i = 0; i < homes.size(); ++i) {
            EXPECT_TRUE(homes[i] == kDefaultHomes[i] || homes[i] == kOwnHomes[i])
                << "length " << length << ", " << kSettingsTable[i].name << " = " << homes[i];
        }
    }
}

TEST(Settings, AKeyThatCannotBeOpenedLeavesEverythingAndIsReportedOnSaving) {
    MemoryKeyStore store;
    store.setFailOpen(true);
    FieldHost host;
    host.position = {1900, 2000};
    GlobalSettings settings;
    EXPECT_FALSE(LoadSettings(host, store, settings));
    EXPECT_EQ(settings, GlobalSettings());
    EXPECT_EQ(host.position, QPoint(1860, 1059)) << "the current place is still clamped";
    EXPECT_FALSE(SaveSettings(host, store, settings));
    EXPECT_TRUE(store.values().isEmpty());
}

TEST(Settings, TheWidgetHostMovesTheRealPaletteAndFillsTheRealFields) {
    TNumEditQ fields[4];
    QCheckBox box;
    box.setChecked(true);
    QWidget palette;
    palette.resize(52, 23);
    palette.move(10, 10);
    WidgetSettingsHost host({&fields[0], &fields[1], &fields[2], &fields[3]}, &box, &palette);
    MemoryKeyStore store;
    store.writeDouble("Drucken-Hoehe", 12.5);
    store.writeDword("Drucken-SeitRatio", 0);
    store.writeDword("WinPos-Left", 100000);
    store.writeDword("WinPos-Top", -5);
    GlobalSettings settings;
    ASSERT_TRUE(LoadSettings(host, store, settings));
    const QSize screen = host.primaryScreen().size();
    ASSERT_TRUE(screen.isValid());
    EXPECT_EQ(palette.pos(), QPoint(screen.width() - palette.frameGeometry().width(), -5));
    EXPECT_EQ(fields[3].Value(), 12.5);
    EXPECT_FALSE(box.isChecked());
    ASSERT_TRUE(SaveSettings(host, store, settings));
    EXPECT_EQ(store.readDouble("Drucken-Hoehe"), 12.5);
    EXPECT_EQ(store.readDword("WinPos-Left"), palette.pos().x());
}
