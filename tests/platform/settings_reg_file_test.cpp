#include "platform/reg_file.h"

#include <QStringList>
#include <bit>
#include <gtest/gtest.h>
#include <random>

namespace {

const QByteArray kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";
const QByteArray kSection = "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando]\r\n";

QList<NamedValue> parse(const QByteArray& bytes) {
    return parseRegFile(bytes, kSettingsKeyPath).values;
}

NamedValue dword(const char* name, quint32 value) {
    MemoryKeyStore store;
    store.writeDword(name, static_cast<qint32>(value));
    return store.values().first();
}

NamedValue binary(const char* name, QByteArray bytes, quint32 type = kRegBinary) {
    return NamedValue{name, RegValue{type, bytes}};
}

std::string describe(const QList<NamedValue>& values) {
    QStringList parts;
    for (const NamedValue& value : values)
        parts << QString("%1=%2:%3")
                     .arg(value.name)
                     .arg(value.value.type)
                     .arg(QString::fromLatin1(value.value.data.toHex(',')));
    return parts.join("; ").toStdString();
}

// A file as the program writes it at its close.
QByteArray fullSettingsFile() {
    return kHeader + kSection +
           "\"MauszeigerMode\"=dword:00000001\r\n\"AutoOpen\"=dword:00000000\r\n"
           "\"AutoClose\"=dword:00000001\r\n\"StiftdickeMode\"=dword:00000003\r\n"
           "\"FarbMode\"=dword:0000000c\r\n\"WerkzeugMode\"=dword:00000005\r\n"
           "\"Drucken-LiRand\"=hex:00,00,00,00,00,00,04,40\r\n"
           "\"Drucken-ObRand\"=hex:cd,cc,cc,cc,cc,cc,fc,3f\r\n"
           "\"Drucken-Breite\"=hex:00,00,00,00,00,00,30,40\r\n"
           "\"Drucken-Hoehe\"=hex:00,00,00,00,00,00,31,40\r\n"
           "\"Drucken-SeitRatio\"=dword:00000001\r\n\"WinPos-Left\"=dword:fffffff6\r\n"
           "\"WinPos-Top\"=dword:00000000\r\n\r\n";
}

} // namespace

TEST(RegFile, ReadsTheValuesOfItsKeyOnly) {
    struct Case {
        const char* what;
        QByteArray text;
        QList<NamedValue> expected;
    };
    const QByteArray a1 = "\"A\"=dword:00000001\r\n";
    const Case cases[] = {
        {"plain", kHeader + kSection + a1, {dword("A", 1)}},
        {"older header, bare line ends",
         "REGEDIT4\n\n" + kSection.chopped(2) + "\n" + a1.chopped(2),
         {dword("A", 1)}},
        {"key ignores case",
         kHeader + "[hkey_current_user\\SOFTWARE\\brenholtsoft\\skribando]\r\n" + a1,
         {dword("A", 1)}},
        {"no header", kSection + a1, {}},
        {"other key", kHeader + "[HKEY_CURRENT_USER\\Software\\Other]\r\n" + a1, {}},
        {"sub-key",
         kHeader + "[HKEY_CURRENT_USER\\Software\\Brenholtsoft\\Skribando\\Sub]\r\n" + a1,
         {}},
        {"other hive",
         kHeader + "[HKEY_LOCAL_MACHINE\\Software\\Brenholtsoft\\Skribando]\r\n" + a1,
         {}},
        {"cut-off section line ends ours",
         kHeader + kSection + a1 + "[HKEY_CURRENT_USER\\Soft\r\n\"B\"=dword:00000002\r\n",
         {dword("A", 1)}},
        {"values after another section are not ours",
         kHeader + kSection + a1 +
             "[HKEY_CURRENT_USER\\Software\\Other]\r\n\"B\"=dword:00000002\r\n",
         {dword("A", 1)}},
        {"dword digits must be exactly eight hex digits",
         kHeader + kSection +
             "\"A\"=dword:0000001\r\n\"B\"=dword:000000001\r\n\"C\"=dword:0000000g\r\n"
             "\"D\"=dword:0x000001\r\n\"E\"=dword:\r\n\"F\"=dword:FFFFFFFF\r\n",
         {dword("F", 0xFFFFFFFF)}},
        {"every byte needs two digits",
         kHeader + kSection +
             "\"A\"=hex:0,01\r\n\"B\"=hex:01,\r\n\"C\"=hex:01,,02\r\n\"D\"=hex:012\r\n"
             "\"E\"=hex: 0a , 0B \r\n\"F\"=hex:\r\n",
         {binary("E", "\x0a\x0b"), binary("F", "")}},
        {"continued hex lists",
         kHeader + kSection + "\"A\"=hex:00,00,00,00,\\\r\n  00,00,04,40\r\n",
         {binary("A", QByteArray("\0\0\0\0\0\0\x04\x40", 8))}},
        {"a list cut off after its continuation",
         kHeader + kSection + "\"A\"=hex:00,00,\\\r\n",
         {}},
        {"other types are carried",
         kHeader + kSection + "\"A\"=hex(b):01,02\r\n\"B\"=\"hi\"\r\n\"C\"=hex(123456789):01\r\n",
         {binary("A", "\x01\x02", 11), binary("B", QByteArray("h\0i\0\0\0", 6), kRegSz)}},
        {"names with escapes, the default value, comments",
         kHeader + kSection + "; note\r\n\"a\\\"b\\\\c\"=dword:00000001\r\n@=dword:00000002\r\n",
         {dword("a\"b\\c", 1), dword("", 2)}},
        {"broken names",
         kHeader + kSection + "\"A=dword:00000001\r\nA=dword:00000001\r\n\"A\"\r\n",
         {}},
        {"later values replace earlier ones, '-' deletes",
         kHeader + kSection +
             "\"A\"=dword:00000001\r\n\"B\"=dword:00000002\r\n\"a\"=dword:00000003\r\n"
             "\"B\"=-\r\n",
         {dword("A", 3)}},
    };
    for (const Case& c : cases) {
        RegFileKey key = parseRegFile(c.text, kSettingsKeyPath);
        EXPECT_EQ(describe(key.values), describe(c.expected)) << c.what;
    }
}

TEST(RegFile, ReadsWindowsExportsInUtf16) {
    QString text = QString::fromUtf8(kHeader + kSection + "\"FarbMode\"=dword:0000000d\r\n");
    QByteArray bytes("\xFF\xFE");
    for (QChar c : text)
        bytes.append(static_cast<char>(c.unicode() & 0xFF))
            .append(static_cast<char>(c.unicode() >> 8));
    EXPECT_EQ(describe(parse(bytes)), describe({dword("FarbMode", 13)}));
    EXPECT_EQ(describe(parse("\xEF\xBB\xBF" + kHeader + kSection + "\"A\"=dword:00000001\r\n")),
              describe({dword("A", 1)}));
}

TEST(RegFile, FormattedValuesParseBackUnchanged) {
    std::mt19937 random(11);
    const QString nameCharacters = QString::fromUtf8("aZ09-_ \"\\@=[];,:éß");
    for (int round = 0; round < 300; ++round) {
        QList<NamedValue> values;
        int count = random() % 6;
        for (int i = 0; i < count; ++i) {
            QString name;
            for (int n = random() % 8; n > 0; --n)
                name += nameCharacters[random() % nameCharacters.size()];
            const quint32 types[] = {kRegDword, kRegBinary, kRegSz, 0, 11, 0xFFFFFFFF};
            RegValue value{types[random() % 6], QByteArray()};
            for (int n = random() % 12; n > 0; --n)
                value.data.append(static_cast<char>(random()));
            if (indexOfValue(values, name) < 0)
                values.append(NamedValue{name, value});
        }
        QByteArray text = formatRegFile(kSettingsKeyPath, values);
        ASSERT_EQ(describe(parse(text)), describe(values)) << text.toStdString();
    }
}

// Damaged files: whatever the loader reads of the settings is what was written, or nothing.
TEST(RegFile, ATruncatedFileYieldsOnlyValuesItHoldsWhole) {
    const QByteArray full = fullSettingsFile();
    MemoryKeyStore original;
    for (const NamedValue& value : parse(full))
        original.writeValue(value.name, value.value);
    ASSERT_EQ(original.values().size(), 13);
    for (qsizetype length = 0; length <= full.size(); ++length) {
        MemoryKeyStore truncated;
        for (const NamedValue& value : parse(full.left(length)))
            truncated.writeValue(value.name, value.value);
        for (const NamedValue& value : original.values()) {
            const bool isDouble = value.value.type == kRegBinary;
            if (isDouble) {
                std::optional<double> read = truncated.readDouble(value.name);
                EXPECT_TRUE(!read || read == original.readDouble(value.name))
                    << "length " << length << " " << value.name.toStdString();
            } else {
                std::optional<qint32> read = truncated.readDword(value.name);
                EXPECT_TRUE(!read || read == original.readDword(value.name))
                    << "length " << length << " " << value.name.toStdString();
            }
        }
    }
    EXPECT_EQ(parse(full.left(full.size() - 30)).size(), 12) << "all complete lines are read";
}

TEST(RegFile, NoiseAndMutationsNeverBreakTheReader) {
    std::mt19937 random(1103);
    const QByteArray full = fullSettingsFile();
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = full;
        switch (round % 4) {
        case 0: // flipped bytes
            for (int n = 1 + random() % 8; n > 0; --n)
                bytes[random() % bytes.size()] = static_cast<char>(random());
            break;
        case 1: // bytes removed or repeated
            for (int n = 1 + random() % 4; n > 0; --n) {
                qsizetype at = random() % bytes.size();
                if (random() % 2)
                    bytes.remove(at, 1 + random() % 20);
                else
                    bytes.insert(at, bytes.mid(random() % bytes.size(), 1 + random() % 20));
            }
            break;
        case 2: // binary noise after the key
            bytes = kHeader + kSection;
            for (int n = random() % 400; n > 0; --n)
                bytes.append(static_cast<char>(random()));
            break;
        default: // noise alone, possibly with a byte-order mark
            bytes = round % 8 == 3 ? QByteArray("\xFF\xFE") : QByteArray();
            for (int n = random() % 400; n > 0; --n)
                bytes.append(static_cast<char>(random()));
            EXPECT_TRUE(parse(bytes).isEmpty()) << "round " << round;
            break;
        }
        RegFileKey key = parseRegFile(bytes, kSettingsKeyPath);
        EXPECT_LE(key.values.size(), 13 + 8) << "round " << round;
    }
}

TEST(RegFile, HugeValuesAreReadButTypedReadsRejectTheirSize) {
    QByteArray list = "00";
    for (int i = 0; i < 100000; ++i)
        list += ",ff";
    MemoryKeyStore store;
    for (const NamedValue& value :
         parse(kHeader + kSection + "\"Drucken-Breite\"=hex:" + list +
               "\r\n\"WinPos-Left\"=hex:" + list + "\r\n\"WinPos-Top\"=dword:7fffffff\r\n"))
        store.writeValue(value.name, value.value);
    EXPECT_FALSE(store.readDouble("Drucken-Breite"));
    EXPECT_FALSE(store.readDword("WinPos-Left"));
    EXPECT_EQ(store.readDword("WinPos-Top"), 0x7fffffff);
}
