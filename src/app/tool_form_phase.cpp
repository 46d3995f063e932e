// The drawing phase seen from the palette: Start freezes the screen and expands the
// palette, Finish hides the surface and collapses it.
#include "app/delay_and_min_max.h"
#include "app/settings.h"
#include "app/start_texts.h"
#include "app/tool_form.h"
#include "controls/message_box.h"
#include "surface/drawing_surface.h"
#include "surface/widget/screen_form.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <utility>

namespace {

const QString kScreenNotReadText =
    QString::fromUtf8("Impossible de capturer l'écran : son contenu ne peut pas être lu.");
// Time for the windows the palette covered to repaint before the grab.
constexpr std::uint32_t kRepaintWaitMs = 50;

} // namespace

void TToolForm::StartFertigBtnClick() {
    switch (PaletteState) {
    case Phase::Idle:
        CaptureScreen(); // when the screen cannot be read, the palette stays idle
        break;
    case Phase::Drawing:
        if (Settings().AutoClose) {
            close(); // the palette is the main window: the program ends
            return;
        }
        PaletteState = Phase::Finishing;
        if (screen_->isVisible())
            screen_->close(); // only hidden: the close comes from Finish
        UndockFromSurface();
        ShowStartOnly();
        break;
    case Phase::Finishing:
        break;
    }
}

bool TToolForm::CaptureScreen() {
    const QPoint position = pos();
    hide();
    Delay(kRepaintWaitMs);
    // The last phase's frozen screen goes just before the grab, which then lands in the
    // same, already mapped memory: fresh pages cost more than the rest of the start.
    surface_->LetGoOfScreenPicture();
    ScreenCapture capture = grabScreen ? grabScreen() : ScreenCapture();
    if (!capture.read()) {
        show();
        move(position);
        showMessage(MessageKind::AppError, kScreenNotReadText, this);
        return false;
    }
    // The palette comes back at its expanded height, so it is placed once, not shown
    // collapsed and then resized.
    ShowToolBar();
    // The surface keeps the grab's picture as its frozen screen.
    surface_->StartPhase(std::move(capture.picture), capture.depth);
    screen_->ShowOnPrimaryScreen();
    if (DocksInSurface()) {
        DockIntoSurface();
        return true;
    }
    // The palette comes back after the surface: a window manager stacks a window above the
    // one it is transient for only when that one was already on screen as it appeared.
    show();
    move(position);
    raise();
    return true;
}

void TToolForm::ShowToolBar() {
    setFixedHeight(expandedHeight());
    PaletteState = Phase::Drawing;
    UpdateStartCaption();
}

void TToolForm::ShowStartOnly() {
    setFixedHeight(kCollapsedHeight);
    PaletteState = Phase::Idle;
    UpdateStartCaption();
}

void TToolForm::UpdateStartCaption() {
    // The tables hold the idle and the drawing texts; finishing is on its way to idle.
    const Phase shown = PaletteState == Phase::Drawing ? Phase::Drawing : Phase::Idle;
    const auto index = static_cast<std::size_t>(shown);
    StartFertigBtn->setText(CaptionTable[index]);
    StartFertigBtn->setToolTip(ToolTipText(HintTable[index]));
    SetMenuCaption(StartFertig1, StartFertigBtn->text());
}
