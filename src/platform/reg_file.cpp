#include "platform/reg_file.h"

#include <QStringList>
#include <QtEndian>

namespace {

const QString kHeaderVersion5 = QStringLiteral("Windows Registry Editor Version 5.00");
const QString kHeaderVersion4 = QStringLiteral("REGEDIT4");
const QString kUserHive = QStringLiteral("HKEY_CURRENT_USER\\");

// Exports from Windows are UTF-16 with a byte-order mark; ours are UTF-8 (plain ASCII).
QString decodeText(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE")) {
        QByteArray units = bytes.mid(2); // a copy keeps the char16_t view aligned
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(units.constData()),
                                  units.size() / 2);
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return QString::fromUtf8(bytes);
}

// Lines with the continuations of long hex lists ("01,02,\" + next line) joined.
QStringList logicalLines(const QString& text) {
    QStringList lines;
    QString pending;
    bool continuing = false;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (continuing)
            pending += line.trimmed();
        else
            pending = line;
        continuing = pending.endsWith(u'\\');
        if (continuing)
            pending.chop(1);
        else
            lines.append(pending);
    }
    if (continuing)
        lines.append(pending); // cut off mid-list: ends in ",", so it is rejected later
    return lines;
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool allHex(QStringView text) {
    for (QChar c : text) {
        if (!isHexDigit(c))
            return false;
    }
    return !text.isEmpty();
}

// A quoted text starting at `pos` with the escapes \\ and \"; `pos` ends after the quote.
std::optional<QString> parseQuoted(QStringView line, qsizetype& pos) {
    if (pos >= line.size() || line[pos] != u'"')
        return std::nullopt;
    QString text;
    for (qsizetype i = pos + 1; i < line.size(); ++i) {
        QChar c = line[i];
        if (c == u'"') {
            pos = i + 1;
            return text;
        }
        if (c == u'\\') {
            if (++i >= line.size())
                return std::nullopt;
            c = line[i];
        }
        text.append(c);
    }
    return std::nullopt;
}

// "00,04,ff": two digits per byte, nothing else; an empty list is no bytes.
std::optional<QByteArray> parseHexList(QStringView list) {
    QByteArray bytes;
    if (list.trimmed().isEmpty())
        return bytes;
    for (QStringView token : list.split(u',')) {
        token = token.trimmed();
        if (token.size() != 2 || !allHex(token))
            return std::nullopt;
        bytes.append(static_cast<char>(token.toUInt(nullptr, 16)));
    }
    return bytes;
}

std::optional<RegValue> parseData(QStringView data) {
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        QStringView digits = data.mid(6);
        if (digits.size() != 8 || !allHex(digits))
            return std::nullopt;
        QByteArray bytes(4, '\0');
        qToLittleEndian<quint32>(digits.toUInt(nullptr, 16), bytes.data());
        return RegValue{kRegDword, bytes};
    }
    if (data.startsWith(u"hex:", Qt::CaseInsensitive)) {
        std::optional<QByteArray> bytes = parseHexList(data.mid(4));
        if (!bytes)
            return std::nullopt;
        return RegValue{kRegBinary, *bytes};
    }
    if (data.startsWith(u"hex(", Qt::CaseInsensitive)) {
        qsizetype close = data.indexOf(u"):");
        QStringView typeDigits = close < 0 ? QStringView() : data.mid(4, close - 4);
        if (typeDigits.size() > 8 || !allHex(typeDigits))
            return std::nullopt;
        std::optional<QByteArray> bytes = parseHexList(data.mid(close + 2));
        if (!bytes)
            return std::nullopt;
        return RegValue{typeDigits.toUInt(nullptr, 16), *bytes};
    }
    qsizetype pos = 0;
    std::optional<QString> text = parseQuoted(data, pos);
    if (!text || pos != data.size())
        return std::nullopt;
    // A string value as the registry holds it: UTF-16, little-endian, with its terminator.
    QByteArray bytes;
    for (QChar c : *text + QChar(u'\0')) {
        char unit[2];
        qToLittleEndian<quint16>(c.unicode(), unit);
        bytes.append(unit, 2);
    }
    return RegValue{kRegSz, bytes};
}

// One line inside the key's section: `"Name"=data`, `@=data` or `"Name"=-` (deletion).
void applyValueLine(QStringView line, QList<NamedValue>& values) {
    qsizetype pos = 0;
    std::optional<QString> name;
    if (line.startsWith(u'@')) {
        name = QString();
        pos = 1;
    } else {
        name = parseQuoted(line, pos);
    }
    if (!name)
        return;
    QStringView rest = line.mid(pos).trimmed();
    if (!rest.startsWith(u'='))
        return;
    QStringView data = rest.mid(1).trimmed();
    qsizetype index = indexOfValue(values, *name);
    if (data == u"-") {
        if (index >= 0)
            values.removeAt(index);
        return;
    }
    std::optional<RegValue> value = parseData(data);
    if (!value)
        return;
    if (index >= 0)
        values[index].value = *value;
    else
        values.append(NamedValue{*name, *value});
}

QString quotedName(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("@");
    QString escaped = name;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

QString dataText(const RegValue& value) {
    if (value.type == kRegDword && value.data.size() == 4) {
        return QStringLiteral("dword:%1")
            .arg(qFromLittleEndian<quint32>(value.data.constData()), 8, 16, QChar(u'0'));
    }
    QString prefix = value.type == kRegBinary ? QStringLiteral("hex:")
                                              : QStringLiteral("hex(%1):").arg(value.type, 0, 16);
    return prefix + QString::fromLatin1(value.data.toHex(','));
}

} // namespace

RegFileKey parseRegFile(const QByteArray& bytes, const QString& keyPath) {
    RegFileKey key;
    const QString section = kUserHive + keyPath;
    bool headerSeen = false;
    bool inSection = false;
    for (const QString& rawLine : logicalLines(decodeText(bytes))) {
        QStringView line = QStringView(rawLine).trimmed();
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            if (line != kHeaderVersion5 && line != kHeaderVersion4)
                return key; // not a registry export at all
            headerSeen = true;
            continue;
        }
        if (line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            // A cut-off section line leaves us outside every section: its values are not ours.
            inSection = line.endsWith(u']') &&
                        line.mid(1, line.size() - 2).compare(section, Qt::CaseInsensitive) == 0;
            key.found = key.found || inSection;
            continue;
        }
        if (inSection)
            applyValueLine(line, key.values);
    }
    return key;
}

QByteArray formatRegFile(const QString& keyPath, const QList<NamedValue>& values) {
    QString text = kHeaderVersion5 + QStringLiteral("\r\n\r\n[") + kUserHive + keyPath +
                   QStringLiteral("]\r\n");
    for (const NamedValue& value : values)
        text += quotedName(value.name) + u'=' + dataText(value.value) + QStringLiteral("\r\n");
    text += QStringLiteral("\r\n");
    return text.toUtf8();
}
