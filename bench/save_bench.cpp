// Saving is the one command the user waits on: our PNG and JPEG writers against Qt's, side
// by side on a realistic 4K screenshot, each writing a real file.
#include "bench_harness.h"

#include "output/byte_sink.h"
#include "output/png_writer.h"
#include "output/save_bitmap.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <thread>

namespace {

qint64 sizeOf(const QString& path) {
    return QFileInfo(path).size();
}

// Keeps no bytes, so the encoder alone is timed.
class DiscardingSink : public ByteSink {
protected:
    Outcome append(const void*, size_t) override { return Outcome::ok(); }
};

void saveOrComplain(const QImage& picture, const QString& path) {
    Outcome status = savePicture(picture, path);
    if (!status)
        std::printf("  save failed: %s\n", qPrintable(status.message()));
}

// Processor time of all threads: on a busy machine the wall clock says little about the
// work, so both are printed.
double cpuSecondsOf(const std::function<void()>& work) {
    std::clock_t start = std::clock();
    work();
    return double(std::clock() - start) / CLOCKS_PER_SEC;
}

} // namespace

SKRIBANDO_BENCH(save) {
    QString source;
    QImage picture = bench::screenshot4k(&source);
    std::printf("  picture %dx%d from %s, %u cores\n", picture.width(), picture.height(),
                qPrintable(source), std::thread::hardware_concurrency());
    QTemporaryDir folder;
    const QString ourPng = folder.filePath("ours.png"), qtPng = folder.filePath("qt.png");
    const QString ourJpeg = folder.filePath("ours.jpg"), qtJpeg = folder.filePath("qt.jpg");
    const int rounds = 5;

    auto savePng = [&] {
        saveOrComplain(picture, ourPng);
    };
    auto qtSavePng = [&] {
        picture.save(qtPng, "PNG");
    };
    bench::Pair png = bench::sideBySide(rounds, savePng, qtSavePng);
    double oneCore = bench::secondsOf([&] {
        DiscardingSink sink;
        PngSettings settings;
        settings.threads = 1;
        (void)writePng(picture, sink, settings); // a sink in memory that takes every byte
        bench::keep(&sink);
    });
    std::printf("  png   ours %6.1f ms (cpu %6.1f) %8lld bytes | qt %6.1f ms (cpu %6.1f) %8lld "
                "bytes | ours on one core %6.1f ms\n",
                png.ours * 1e3, cpuSecondsOf(savePng) * 1e3, sizeOf(ourPng), png.theirs * 1e3,
                cpuSecondsOf(qtSavePng) * 1e3, sizeOf(qtPng), oneCore * 1e3);

    auto saveJpeg = [&] {
        saveOrComplain(picture, ourJpeg);
    };
    auto qtSaveJpeg = [&] {
        picture.save(qtJpeg, "JPEG", 99);
    };
    bench::Pair jpeg = bench::sideBySide(rounds, saveJpeg, qtSaveJpeg);
    std::printf("  jpeg  ours %6.1f ms (cpu %6.1f) %8lld bytes | qt %6.1f ms (cpu %6.1f) %8lld "
                "bytes\n",
                jpeg.ours * 1e3, cpuSecondsOf(saveJpeg) * 1e3, sizeOf(ourJpeg), jpeg.theirs * 1e3,
                cpuSecondsOf(qtSaveJpeg) * 1e3, sizeOf(qtJpeg));

    summary.ratio("save.png_vs_qt", png.theirs / png.ours);
    summary.ratio("save.png_size_vs_qt",
                  static_cast<double>(sizeOf(qtPng)) / std::max<qint64>(1, sizeOf(ourPng)));
    summary.ratio("save.jpeg_vs_qt", jpeg.theirs / jpeg.ours);
}
