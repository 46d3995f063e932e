#include "app/info_box_on_demand.h"

#include "app/einstellungen_form.h"

InfoBoxOnDemand::InfoBoxOnDemand(QString versionText, QString helpFolder, QString helpFileName,
                                 TEinstellungenForm& settingsDialog,
                                 std::function<void()> openSettings)
    : versionText_(std::move(versionText)), helpFolder_(std::move(helpFolder)),
      helpFileName_(std::move(helpFileName)), settingsDialog_(settingsDialog),
      openSettings_(std::move(openSettings)) {}

InfoBoxOnDemand::~InfoBoxOnDemand() {
    if (box_)
        settingsDialog_.setParent(nullptr);
}

TInfoBox& InfoBoxOnDemand::get() {
    if (box_)
        return *box_;
    box_ = std::make_unique<TInfoBox>(versionText_, helpFolder_, helpFileName_);
    if (runTimeTexts_)
        box_->ApplyRunTimeTexts();
    // The settings dialog opens over the info box, which stays on top of the other windows.
    settingsDialog_.setParent(box_.get(), settingsDialog_.windowFlags());
    QObject::connect(box_.get(), &TInfoBox::EinstellBtnClicked, box_.get(),
                     [this] { openSettings_(); });
    return *box_;
}

void InfoBoxOnDemand::useRunTimeTexts() {
    runTimeTexts_ = true;
    if (box_)
        box_->ApplyRunTimeTexts();
}
