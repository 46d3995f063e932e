#pragma once
// What the fuzz targets share: a check that stops the run with a message libFuzzer keeps
// beside the input that broke it, a Qt application for the code that needs one, and a
// private scratch folder.

#include <QString>
#include <cstdio>
#include <cstdlib>

// abort() is what libFuzzer takes for a crash: it saves the input and fails the run.
#define FUZZ_CHECK(condition, ...)                                                                 \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::fprintf(stderr, "" __VA_ARGS__);                                                  \
            std::fprintf(stderr, "\n");                                                            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

// Starts a QApplication on the offscreen platform once, for widgets, fonts and cursors.
void startQtApplication();

// A folder of its own for this process in the temporary folder ($TMPDIR). libFuzzer ends
// with _Exit, so it stays behind; scripts/fuzz.sh points $TMPDIR into its own scratch
// folder in memory (the code under test flushes its files to disk) and removes that.
const QString& scratchFolder();

} // namespace fuzz
