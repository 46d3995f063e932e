#include "app/command_line.h"

CommandLine ReadCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return {};
    if (arguments.size() == 1) {
        const QString& argument = arguments.front();
        if (argument == "--help" || argument == "-h")
            return {CommandLine::Kind::Help, std::nullopt};
        if (argument.startsWith("--"))
            if (const auto command = PhaseCommandFromWord(argument.mid(2)))
                return {CommandLine::Kind::Run, command};
    }
    return {CommandLine::Kind::Wrong, std::nullopt};
}

QString UsageText() {
    return QString::fromUtf8(
        "Usage : skribando [--lancer | --terminer | --basculer]\n"
        "  --lancer     commence un dessin (démarre Skribando s'il ne tourne pas)\n"
        "  --terminer   termine le dessin en cours\n"
        "  --basculer   termine le dessin en cours, ou en commence un comme --lancer\n"
        "Sans argument, Skribando démarre et montre sa palette.\n");
}
