#include "app/program.h"

#include "app/command_line.h"
#include "app/einstellungen_form.h"
#include "app/info_box_on_demand.h"
#include "app/library_language.h"
#include "app/phase_commands.h"
#include "app/run_time_texts.h"
#include "app/settings.h"
#include "app/shared_values.h"
#include "app/tool_form.h"
#include "controls/meld_form.h"
#include "controls/message_box.h"
#include "controls/modal.h"
#include "controls/program_icon.h"
#include "output/clipboard.h"
#include "output/druck_form.h"
#include "output/save_bitmap.h"
#include "output/save_command.h"
#include "platform/phase_command_channel.h"
#include "platform/printer_qt.h"
#include "platform/screen_grab.h"
#include "platform/single_instance.h"
#include "surface/drawing_surface.h"
#include "surface/widget/screen_form.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

QStringList ArgumentsAfterProgramName(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// How long a later start waits for the running instance to take its command.
constexpr int kHandOverTimeoutMs = 3000;

// A command for the running instance ends here, without a window, at once.
int HandOver(const QString& socketPath, PhaseCommand command) {
    switch (SendPhaseCommand(socketPath, command, kHandOverTimeoutMs)) {
    case SendResult::Delivered:
        return 0;
    case SendResult::NoListener:
        std::fputs("skribando : l'instance en cours ne répond pas.\n", stderr);
        return 1;
    case SendResult::Failed:
        break;
    }
    std::fprintf(stderr, "skribando : impossible de joindre l'instance en cours (%s).\n",
                 qPrintable(socketPath));
    return 1;
}

} // namespace

bool MayStart(SingleInstanceGuard& guard) {
    if (!guard.acquire()) {
        showMessage(MessageKind::Information,
                    QString::fromUtf8("L'application est déjà en cours d'exécution."));
        return false;
    }
    if (!guard.held())
        std::fprintf(stderr, "skribando: starting without the one-instance guard: %s\n",
                     qPrintable(guard.problem()));
    return true;
}

int RunProgram(int argc, char** argv) {
    const CommandLine commandLine = ReadCommandLine(ArgumentsAfterProgramName(argc, argv));
    if (commandLine.kind != CommandLine::Kind::Run) {
        const bool help = commandLine.kind == CommandLine::Kind::Help;
        std::fputs(UsageText().toLocal8Bit().constData(), help ? stdout : stderr);
        return help ? 0 : 2;
    }
    const std::optional<PhaseCommand> command = commandLine.command;

    SingleInstanceGuard guard;
    const bool firstInstance = guard.acquire();
    const QString socketPath = PhaseCommandSocketPath(QFileInfo(guard.lockFile()).absolutePath());
    if (!firstInstance && command)
        return HandOver(socketPath, *command);
    if (command == PhaseCommand::Finish)
        return 0; // no drawing phase to finish, and no reason to start the program for it

    QApplication app(argc, argv);
    QApplication::setApplicationName("Skribando");
    QApplication::setQuitOnLastWindowClosed(false);
    UseLibraryTextsIn(QLocale::system(), app);
    // Asked again: an instance that has ended since lets this one start.
    if (!MayStart(guard))
        return 0;
    InitSharedValues(QCoreApplication::applicationFilePath());
    QApplication::setWindowIcon(ProgramIcon());

    // The windows, in their order; all live until the process ends, only the palette shows.
    // The drawing engine reads the palette's drawing state and is shown by the surface.
    TToolForm palette;
    TEinstellungenForm settingsDialog;
    TMeldForm meldForm;
    DrawingSurface surface(palette.drawingState());
    TScreenForm screen(surface);
    InfoBoxOnDemand infoBox(VersionText, HelpFolder, HelpFileName, settingsDialog, [&] {
        EinstellBtnClick(settingsDialog,
                         [&](int mode) { screen.ApplyCursorMode(mode == kToolSymbolOnly); });
    });
    QtPrinter printer;
    TDruckForm druckForm(printer, &meldForm);
    palette.AttachSurface(surface, screen);
    palette.grabScreen = [] {
        return GrabPrimaryScreen();
    };

    WidgetSettingsHost settingsHost(
        {druckForm.LiRandEdit, druckForm.ObRandEdit, druckForm.BreiteEdit, druckForm.HoeheEdit},
        druckForm.SeitRatio, &palette);
    // A settings file that cannot be read leaves every choice at its default, as on a first
    // run; the program works on as well without it.
    palette.loadSettings = [&] {
        (void)LoadSettings(settingsHost);
    };
    // The program is ending: a message box would hold up the exit for something the user can
    // no longer act on, so the failure goes to standard error.
    palette.saveSettings = [&] {
        if (const Outcome saved = SaveSettings(settingsHost); !saved)
            std::fprintf(stderr, "skribando: the settings were not saved: %s\n",
                         qPrintable(saved.message()));
    };

    SaveCommand save;
    palette.onSave = [&] {
        save.run(pictureAtScreenDepth(surface.PictureForOutput(), surface.ScreenDepth()), &palette);
    };
    palette.onCopy = [&] {
        CopyPictureToClipboard(surface.PictureForOutput(), &palette);
    };
    druckForm.setPictureSource([&] { return surface.PictureForOutput(); });
    palette.onPrint = [&] {
        druckForm.Execute();
    };
    palette.onInfo = [&] {
        execModal(infoBox.get());
    };
    palette.applyRunTimeTexts = [&] {
        ApplyRunTimeTexts(
            {&palette, nullptr, &settingsDialog, [&] { druckForm.ApplyRunTimeTexts(); }, &save});
        infoBox.useRunTimeTexts();
    };

    // Later starts hand their commands over through the socket; a start that came with one
    // opens a drawing phase once the palette is up.
    PhaseCommandListener commands(
        [&](PhaseCommand received) { CarryOutPhaseCommand(palette, received); });
    if (guard.held() && !commands.listen(socketPath))
        std::fprintf(stderr, "skribando : pas de commandes de l'extérieur (%s).\n",
                     qPrintable(commands.error()));
    if (command)
        CarryOutPhaseCommand(palette, *command);

    palette.PlaceAtTopRight();
    palette.show();
    const int result = app.exec();
    // A program ended during a phase on Wayland leaves the palette docked in the surface,
    // which would delete it once more as it goes.
    if (palette.isDocked())
        palette.setParent(nullptr);
    return result;
}
