#pragma once
// TEinstellungenForm: the settings dialog, opened from the info box. It edits three of the
// global settings: the pointer over the drawing surface, AutoOpen and AutoClose.

#include "app/settings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;
class TBitBtn2;

class TEinstellungenForm : public QDialog {
    Q_OBJECT
public:
    explicit TEinstellungenForm(GlobalSettings& settings = Settings(), QWidget* parent = nullptr);

    // Each time the dialog opens: the boxes show the settings as they are. A pointer mode
    // other than 1 or 2 checks neither radio button.
    void FormActivate();
    // The French texts that replace the German design texts.
    void ApplyRunTimeTexts();

    GlobalSettings& settings() const { return settings_; }

    QWidget* Panel1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QRadioButton* RadioMauszeiger1 = nullptr;
    QRadioButton* RadioMauszeiger2 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* AutoOpenCheck = nullptr;
    QCheckBox* AutoCloseCheck = nullptr;
    TBitBtn2* OkBtn = nullptr;
    TBitBtn2* AbbrBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    GlobalSettings& settings_;
};

// The info box's settings button: shows the dialog; on OK takes the pointer mode (2 when the
// second radio button is checked, else 1), applies it to the surface at once through
// `applyCursorMode`, and takes AutoOpen and AutoClose. On cancel nothing changes. True on OK.
bool EinstellBtnClick(TEinstellungenForm& form, const std::function<void(int)>& applyCursorMode);
