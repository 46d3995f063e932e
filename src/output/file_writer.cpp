#include "output/file_writer.h"

#include <QSaveFile>

#ifdef __linux__
#include <fcntl.h>
#endif

namespace {

class SaveFileSink : public ByteSink {
public:
    SaveFileSink(QSaveFile& file, const QString& fileName) : file_(file), fileName_(fileName) {}

protected:
    SaveStatus append(const void* data, size_t size) override {
        const char* bytes = static_cast<const char*>(data);
        while (size > 0) {
            qint64 written = file_.write(bytes, static_cast<qint64>(size));
            if (written <= 0)
                return SaveStatus::failed(QString("Fehler beim Schreiben der Datei %1 (%2).")
                                              .arg(fileName_, file_.errorString()));
            bytes += written;
            size -= static_cast<size_t>(written);
        }
        startWriteBack();
        return SaveStatus::ok();
    }

private:
    // The file is forced to disk before it replaces the target; handing each megabyte to the
    // disk as soon as it is written lets that final wait overlap the encoding.
    void startWriteBack() {
#ifdef __linux__
        constexpr qint64 step = 1 << 20;
        if (file_.pos() - handedToDisk_ < step || !file_.flush())
            return;
        sync_file_range(file_.handle(), handedToDisk_, file_.pos() - handedToDisk_,
                        SYNC_FILE_RANGE_WRITE);
        handedToDisk_ = file_.pos();
#endif
    }

    QSaveFile& file_;
    const QString& fileName_;
    qint64 handedToDisk_ = 0;
};

} // namespace

QString cannotCreateMessage(const QString& fileName) {
    return QString("Datei %1 kann nicht erstellt werden.").arg(fileName);
}

SaveStatus writeFileReplacing(const QString& fileName, const FileEncoder& encode) {
    QSaveFile file(fileName);
    // Writing straight into the target when no temporary file can be made beside it would
    // bring back the half-written file this writer exists to avoid.
    file.setDirectWriteFallback(false);
    if (fileName.isEmpty() || !file.open(QIODevice::WriteOnly))
        return SaveStatus::failed(cannotCreateMessage(fileName));

    SaveFileSink sink(file, fileName);
    SaveStatus encoded = encode(sink);
    if (encoded && !sink.status())
        encoded = sink.status();
    if (!encoded) {
        file.cancelWriting(); // the temporary file is removed when `file` goes
        return encoded;
    }
    // The last buffered bytes reach the file only here; a disk that fills up now must fail
    // the save, and committing would not notice.
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return SaveStatus::failed(
            QString("Fehler beim Schreiben der Datei %1 (%2).").arg(fileName, reason));
    }
    if (!file.commit())
        return SaveStatus::failed(
            QString("Fehler beim Schreiben der Datei %1 (%2).").arg(fileName, file.errorString()));
    return SaveStatus::ok();
}
