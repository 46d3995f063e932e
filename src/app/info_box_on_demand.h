#pragma once
// The info box, made the first time it is asked for: its fonts and text memos cost the
// start several milliseconds, and most runs never open it. Made late, it takes what it
// would have been given at start: the French texts once they apply, the settings dialog
// as the window it opens on top, the settings button's action.

#include "controls/info_box.h"

#include <functional>
#include <memory>

class TEinstellungenForm;

class InfoBoxOnDemand {
public:
    InfoBoxOnDemand(QString versionText, QString helpFolder, QString helpFileName,
                    TEinstellungenForm& settingsDialog, std::function<void()> openSettings);
    // The settings dialog is no child of the box when both go.
    ~InfoBoxOnDemand();
    InfoBoxOnDemand(const InfoBoxOnDemand&) = delete;
    InfoBoxOnDemand& operator=(const InfoBoxOnDemand&) = delete;

    TInfoBox& get();
    TInfoBox* existing() const { return box_.get(); }
    // The French texts: written now if the box exists, else as soon as it is made.
    void useRunTimeTexts();

private:
    QString versionText_, helpFolder_, helpFileName_;
    TEinstellungenForm& settingsDialog_;
    std::function<void()> openSettings_;
    bool runTimeTexts_ = false;
    std::unique_ptr<TInfoBox> box_;
};
