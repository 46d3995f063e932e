#include "app/program.h"

#include "app/einstellungen_form.h"
#include "app/run_time_texts.h"
#include "app/settings.h"
#include "app/shared_values.h"
#include "app/tool_form.h"
#include "controls/info_box.h"
#include "controls/meld_form.h"
#include "controls/message_box.h"
#include "controls/modal.h"
#include "controls/program_icon.h"
#include "output/clipboard.h"
#include "output/druck_form.h"
#include "output/save_command.h"
#include "platform/printer_qt.h"
#include "platform/screen_grab.h"
#include "platform/single_instance.h"
#include "surface/widget/screen_form.h"

#include <QApplication>

int RunProgram(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Skribando");
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstanceGuard guard;
    if (!guard.acquire()) {
        showMessage(MessageKind::Information,
                    QString::fromUtf8("L'application est déjà en cours d'exécution."));
        return 0;
    }
    InitSharedValues(QCoreApplication::applicationFilePath());
    QApplication::setWindowIcon(ProgramIcon());

    // The windows, in their order; all live until the process ends, only the palette shows.
    TToolForm palette;
    TEinstellungenForm settingsDialog;
    TMeldForm meldForm;
    TScreenForm screen(palette.drawingState());
    TInfoBox infoBox(VersionText, HelpFolder, HelpFileName);
    QtPrinter printer;
    TDruckForm druckForm(printer, &meldForm);
    palette.AttachScreenForm(&screen);
    palette.grabScreen = [] {
        return GrabPrimaryScreen();
    };

    WidgetSettingsHost settingsHost(
        {druckForm.LiRandEdit, druckForm.ObRandEdit, druckForm.BreiteEdit, druckForm.HoeheEdit},
        druckForm.SeitRatio, &palette);
    palette.loadSettings = [&] {
        LoadSettings(settingsHost);
    };
    palette.saveSettings = [&] {
        SaveSettings(settingsHost);
    };

    SaveCommand save;
    palette.onSave = [&] {
        save.run(screen.PictureForOutput(), &palette);
    };
    palette.onCopy = [&] {
        CopyPictureToClipboard(screen.PictureForOutput(), &palette);
    };
    druckForm.setPictureSource([&] { return screen.PictureForOutput(); });
    palette.onPrint = [&] {
        druckForm.Execute();
    };
    palette.onInfo = [&] {
        execModal(infoBox);
    };
    palette.applyRunTimeTexts = [&] {
        ApplyRunTimeTexts(
            {&palette, &infoBox, &settingsDialog, [&] { druckForm.ApplyRunTimeTexts(); }, &save});
    };
    // The settings dialog opens over the info box, which stays on top of the other windows.
    settingsDialog.setParent(&infoBox, settingsDialog.windowFlags());
    QObject::connect(&infoBox, &TInfoBox::EinstellBtnClicked, &infoBox, [&] {
        EinstellBtnClick(settingsDialog, [&](int mode) { screen.ApplyCursorMode(mode); });
    });

    palette.PlaceAtTopRight();
    palette.show();
    const int result = app.exec();
    settingsDialog.setParent(nullptr); // it is no child of the info box when both go
    return result;
}
