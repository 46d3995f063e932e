// The Save command's extension rule fed any file name. The extension is the text from the
// name's last "." when no folder separator ("\", "/", ":") follows it; only ".png", ".jpg"
// and ".bmp", in any case, are saved, each in its own format; any other name is refused
// with the error box and writes nothing.
#include "controls/message_box.h"
#include "fuzz_check.h"
#include "output/file_extension.h"
#include "output/save_command.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

namespace {

struct Shown {
    MessageKind kind;
    QString text;
};

bool isSeparator(QChar c) {
    return c == u'/' || c == u'\\' || c == u':';
}

// The rule, written out: scan back to the first "." or separator.
QString expectedExtension(const QString& name) {
    for (qsizetype i = name.size() - 1; i >= 0; --i) {
        if (isSeparator(name[i]))
            return {};
        if (name[i] == u'.')
            return QLocale().toLower(name.mid(i));
    }
    return {};
}

// The first bytes of each format the extension chooses.
QByteArray signatureOf(const QString& extension) {
    if (extension == ".png")
        return "\x89PNG\r\n\x1a\n";
    if (extension == ".jpg")
        return "\xff\xd8\xff";
    return "BM";
}

QString nameFrom(const std::string& bytes, bool asUtf16) {
    return asUtf16 ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                                        qsizetype(bytes.size() / 2))
                   : QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// A name the file system keeps as it is, for one file in the scratch folder: no "/" or NUL,
// not "." or "..", short enough for the temporary name beside it, and one that survives the
// file system's encoding (a lone UTF-16 surrogate does not).
bool isPlainFileName(const QString& name) {
    const QByteArray encoded = QFile::encodeName(name);
    return !name.isEmpty() && name != "." && name != ".." && !name.contains(u'/') &&
           !name.contains(QChar(0)) && encoded.size() <= 200 && QFile::decodeName(encoded) == name;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startQtApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool asUtf16 = input.ConsumeBool();
    const QString name = nameFrom(input.ConsumeRemainingBytesAsString(), asUtf16);

    const QString extension = lowerCaseExtension(name);
    FUZZ_CHECK(extension == expectedExtension(name), "\"%s\" gave \"%s\"", qPrintable(name),
               qPrintable(extension));
    const bool saveable = isSaveableExtension(extension);
    FUZZ_CHECK(saveable == (extension == ".png" || extension == ".jpg" || extension == ".bmp"));
    if (!isPlainFileName(name))
        return 0;

    // The command itself, answering its dialog with the name inside the scratch folder.
    const QDir folder(fuzz::scratchFolder());
    const QString path = folder.path() + u'/' + name; // filePath() keeps ":name" as it is
    std::vector<Shown> shown;
    setMessageHandler([&](MessageKind kind, const QString& text) {
        shown.push_back({kind, text});
    });
    SaveCommand command([&](const SaveDialogRequest&, QWidget*) {
        return std::optional<SaveDialogAnswer>(SaveDialogAnswer{path, 1});
    });
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(0xFF336699);
    const SaveCommand::Outcome outcome = command.run(picture);
    setMessageHandler({});

    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    if (!saveable) {
        FUZZ_CHECK(outcome == SaveCommand::Outcome::Refused, "\"%s\" was not refused",
                   qPrintable(name));
        FUZZ_CHECK(shown.size() == 1 && shown[0].kind == MessageKind::Error &&
                   shown[0].text == kRefusedExtensionMessage);
        FUZZ_CHECK(files.isEmpty(), "a refused name wrote %s", qPrintable(files.join(", ")));
        return 0;
    }
    FUZZ_CHECK(outcome == SaveCommand::Outcome::Saved, "\"%s\" was not saved: %s", qPrintable(name),
               shown.empty() ? "" : qPrintable(shown[0].text));
    FUZZ_CHECK(shown.empty());
    FUZZ_CHECK(files == QStringList{name}, "the folder holds %s", qPrintable(files.join(", ")));
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    FUZZ_CHECK(file.read(8).startsWith(signatureOf(extension)), "\"%s\" is not in its format",
               qPrintable(name));
    file.remove();
    return 0;
}
