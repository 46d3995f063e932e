#include "output/file_writer.h"

namespace {

class ReplacementSink : public ByteSink {
public:
    explicit ReplacementSink(FileReplacement& file) : file_(file) {}

protected:
    Outcome append(const void* data, size_t size) override { return file_.write(data, size); }

private:
    FileReplacement& file_;
};

} // namespace

Outcome writeFileReplacing(const QString& fileName, const FileEncoder& encode) {
    FileReplacement file(fileName);
    if (Outcome opened = file.open(); !opened)
        return opened;
    ReplacementSink sink(file);
    Outcome encoded = encode(sink);
    if (encoded && !sink.status())
        encoded = sink.status();
    // On failure the temporary file goes with `file`.
    return encoded ? file.commit() : encoded;
}
