#include "platform/reg_file_store.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <bit>
#include <cmath>
#include <csignal>
#include <gtest/gtest.h>
#include <limits>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QByteArray kEmptyKeyFile = "Windows Registry Editor Version 5.00\r\n\r\n"
                                 "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n\r\n";

} // namespace

TEST(KeyStore, TypedReadsTakeOnlyTheExpectedTypeAndSize) {
    MemoryKeyStore store;
    store.writeValue("Dword", RegValue{kRegDword, QByteArray("\x0c\x00\x00\x00", 4)});
    store.writeValue("ShortDword", RegValue{kRegDword, QByteArray("\x0c\x00", 2)});
    store.writeValue("BinaryAsDword", RegValue{kRegBinary, QByteArray("\x0c\x00\x00\x00", 4)});
    store.writeValue("Double", RegValue{kRegBinary, QByteArray("\0\0\0\0\0\0\x04\x40", 8)});
    store.writeValue("LongDouble", RegValue{kRegBinary, QByteArray(9, '\0')});
    store.writeValue("DwordAsDouble", RegValue{kRegDword, QByteArray(8, '\0')});
    store.writeValue("StringAsDword", RegValue{kRegSz, QByteArray("1\0\0\0", 4)});

    EXPECT_EQ(store.readDword("Dword"), 12);
    EXPECT_EQ(store.readDword("dWORD"), 12) << "names ignore case, as in the registry";
    EXPECT_EQ(store.readDouble("Double"), 2.5);
    for (const char* name : {"ShortDword", "BinaryAsDword", "StringAsDword", "Double", "Missing"})
        EXPECT_FALSE(store.readDword(name)) << name;
    for (const char* name : {"LongDouble", "DwordAsDouble", "Dword", "Missing"})
        EXPECT_FALSE(store.readDouble(name)) << name;
}

TEST(KeyStore, TypedValuesRoundTripBitForBit) {
    MemoryKeyStore store;
    const qint32 dwords[] = {
        0, 1, -1, -250, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    const double doubles[] = {0.1,
                              -0.0,
                              3.25,
                              1e308,
                              std::numeric_limits<double>::denorm_min(),
                              std::numeric_limits<double>::infinity(),
                              std::bit_cast<double>(0x7ff8dead0000beefull)};
    for (qint32 value : dwords) {
        store.writeDword("D", value);
        EXPECT_EQ(store.readDword("D"), value);
    }
    for (double value : doubles) {
        store.writeDouble("F", value);
        ASSERT_TRUE(store.readDouble("F"));
        EXPECT_EQ(std::bit_cast<quint64>(*store.readDouble("F")), std::bit_cast<quint64>(value));
    }
    EXPECT_EQ(store.values().size(), 2) << "rewriting a value keeps one entry";
}

TEST(DefaultSettingsFile, FollowsXdgConfigHomeElseDotConfig) {
    QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/conf");
    EXPECT_EQ(defaultSettingsFile(), "/somewhere/conf/Brenholtsoft/Skribando.reg");
    for (const char* unusable : {"", "relative/conf"}) {
        qputenv("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(defaultSettingsFile(), QDir::homePath() + "/.config/Brenholtsoft/Skribando.reg");
    }
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultSettingsFile(), QDir::homePath() + "/.config/Brenholtsoft/Skribando.reg");
    if (!saved.isNull())
        qputenv("XDG_CONFIG_HOME", saved);
}

TEST(RegFileStore, FirstOpenCreatesTheFolderAndTheEmptyKey) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Brenholtsoft/Skribando.reg";
    RegFileStore store(path);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    EXPECT_EQ(readAll(path), kEmptyKeyFile);
    EXPECT_FALSE(store.readValue("MauszeigerMode"));
    EXPECT_TRUE(store.closeKey());
    EXPECT_EQ(readAll(path), kEmptyKeyFile) << "closing without writes changes nothing";
}

TEST(RegFileStore, WritesTheExportFormatInWritingOrderAndReadsItBack) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Skribando.reg";
    RegFileStore store(path);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    store.writeDword("MauszeigerMode", 12);
    store.writeDouble("Drucken-LiRand", 2.5);
    store.writeDword("WinPos-Left", -3);
    ASSERT_TRUE(store.closeKey());
    EXPECT_EQ(readAll(path), "Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n"
                             "\"MauszeigerMode\"=dword:0000000c\r\n"
                             "\"Drucken-LiRand\"=hex:00,00,00,00,00,00,04,40\r\n"
                             "\"WinPos-Left\"=dword:fffffffd\r\n\r\n");

    RegFileStore again(path);
    ASSERT_TRUE(again.openKey(kSettingsKeyPath));
    EXPECT_EQ(again.readDword("MauszeigerMode"), 12);
    EXPECT_EQ(again.readDouble("Drucken-LiRand"), 2.5);
    EXPECT_EQ(again.readDword("WinPos-Left"), -3);
}

TEST(RegFileStore, KeepsValuesOfTheFileThatWereNotRewritten) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Skribando.reg";
    writeAll(path, kEmptyKeyFile.chopped(2) + "\"Foreign\"=hex(7):41,00,00,00\r\n"
                                              "\"A\"=dword:00000001\r\n\r\n");
    RegFileStore store(path);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    store.writeDword("A", 2);
    store.writeDword("B", 3);
    ASSERT_TRUE(store.closeKey());
    EXPECT_EQ(readAll(path), kEmptyKeyFile.chopped(2) + "\"A\"=dword:00000002\r\n"
                                                        "\"B\"=dword:00000003\r\n"
                                                        "\"Foreign\"=hex(7):41,00,00,00\r\n\r\n");
}

TEST(RegFileStore, ReadsWhatIsValidInADamagedFileAndRewritesItWhole) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Skribando.reg";
    writeAll(path, kEmptyKeyFile.chopped(2) + "\"A\"=dword:00000001\r\n\x01\xff garbage\r\n"
                                              "\"B\"=dword:0000");
    RegFileStore store(path);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    EXPECT_EQ(store.readDword("A"), 1);
    EXPECT_FALSE(store.readValue("B"));
    store.writeDword("B", 2);
    ASSERT_TRUE(store.closeKey());
    EXPECT_EQ(readAll(path), kEmptyKeyFile.chopped(2) + "\"B\"=dword:00000002\r\n"
                                                        "\"A\"=dword:00000001\r\n\r\n");
}

TEST(RegFileStore, AFailedSaveLeavesThePreviousFileIntact) {
    QTemporaryDir dir;
    const QString path = dir.path() + "/Skribando.reg";
    RegFileStore store(path);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    store.writeDword("Kept", 7);
    ASSERT_TRUE(store.closeKey());
    const QByteArray before = readAll(path);

    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    for (int i = 0; i < 200; ++i)
        store.writeDword(QString("Value%1").arg(i), i);
    const bool saved_ok = withFileSizeLimit(64, [&] { return bool(store.closeKey()); });

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Skribando.reg"})
        << "no temporary file is left behind";
}

TEST(RegFileStore, ALinkedFileStaysALink) {
    QTemporaryDir dir;
    const QString target = dir.path() + "/dotfiles.reg";
    const QString link = dir.path() + "/Skribando.reg";
    writeAll(target, kEmptyKeyFile);
    ASSERT_TRUE(QFile::link(target, link));
    RegFileStore store(link);
    ASSERT_TRUE(store.openKey(kSettingsKeyPath));
    store.writeDword("A", 1);
    ASSERT_TRUE(store.closeKey());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(readAll(target).contains("\"A\"=dword:00000001"));
}

TEST(RegFileStore, OpenFailsWhenTheKeyCannotBeCreated) {
    QTemporaryDir dir;
    writeAll(dir.path() + "/Brenholtsoft", "a file where the folder should be");
    RegFileStore store(dir.path() + "/Brenholtsoft/Skribando.reg");
    EXPECT_FALSE(store.openKey(kSettingsKeyPath));
    EXPECT_FALSE(store.closeKey());
}
