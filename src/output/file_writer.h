#pragma once
// Writes a picture's file through a FileReplacement: a failure never destroys the file it
// replaces, and nothing else remains.

#include "output/byte_sink.h"
#include "platform/file_replacement.h"

#include <QString>
#include <functional>

// Writes the whole file into the sink; returns the sink's status or its own failure.
using FileEncoder = std::function<Outcome(ByteSink& sink)>;

Outcome writeFileReplacing(const QString& fileName, const FileEncoder& encode);
