#pragma once
// What the program is asked to do from its command line: run as usual, or hand a drawing
// phase command to the instance already running (starting one for it when none is).

#include "platform/phase_command_channel.h"

#include <QString>
#include <QStringList>
#include <optional>

struct CommandLine {
    enum class Kind { Run, Help, Wrong };
    Kind kind = Kind::Run;
    std::optional<PhaseCommand> command; // with Run only
};

// `arguments` without the program's name.
CommandLine ReadCommandLine(const QStringList& arguments);

// The short usage text, for --help (on standard output) and for a wrong argument (on the
// error output).
QString UsageText();
