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
#include "output/save_command.h"
#include "platform/screen_grab.h"
#include "platform/single_instance.h"
#include "surface/widget/screen_form.h"

#include <QApplication>
#include <array>

namespace {

// The settings' view of the windows: the palette's frame and, until the print dialog holds
// them, the print layout kept here.
class ProgramSettingsHost : public SettingsHost {
public:
    explicit ProgramSettingsHost(QWidget& palette) : palette_(palette) {}
    double printValue(PrintField field) const override { return print_[int(field)]; }
    void setPrintValue(PrintField field, double value) override { print_[int(field)] = value; }
    bool seitRatio() const override { return seitRatio_; }
    void setSeitRatio(bool checked) override { seitRatio_ = checked; }
    QPoint palettePosition() const override { return palette_.frameGeometry().topLeft(); }
    QSize paletteOuterSize() const override { return palette_.frameGeometry().size(); }
    void movePalette(QPoint topLeft) override { palette_.move(topLeft); }
    QSize screenSize() const override { return QGuiApplication::primaryScreen()->size(); }

private:
    QWidget& palette_;
    std::array<double, 4> print_{2.5, 1.8, 16.0, 17.0};
    bool seitRatio_ = true;
};

} // namespace

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
    palette.AttachScreenForm(&screen);
    palette.grabScreen = [] {
        return GrabPrimaryScreen();
    };

    ProgramSettingsHost settingsHost(palette);
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
    palette.onInfo = [&] {
        execModal(infoBox);
    };
    palette.applyRunTimeTexts = [&] {
        ApplyRunTimeTexts({&palette, &infoBox, &settingsDialog, {}, &save});
    };
    QObject::connect(&infoBox, &TInfoBox::EinstellBtnClicked, &infoBox, [&] {
        EinstellBtnClick(settingsDialog, [&](int mode) { screen.ApplyCursorMode(mode); });
    });

    palette.PlaceAtTopRight();
    palette.show();
    return app.exec();
}
