#pragma once
// Writes a file so that a failure never destroys what it replaces: the bytes go to a
// temporary file in the target's folder, which is moved over the target only once the
// whole file is written. On failure the old file stays as it was and nothing else remains.

#include "output/byte_sink.h"

#include <QString>
#include <functional>

// Writes the whole file into the sink; returns the sink's status or its own failure.
using FileEncoder = std::function<SaveStatus(ByteSink& sink)>;

SaveStatus writeFileReplacing(const QString& fileName, const FileEncoder& encode);

// The text shown when the file cannot be created (protected folder, invalid path).
QString cannotCreateMessage(const QString& fileName);
