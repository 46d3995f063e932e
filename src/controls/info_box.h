#pragma once
// TInfoBox: the program's icon, title and version, the notice of rights, the terms of use,
// two web links and the buttons for settings, help and closing. Shown modally from the
// palette; Esc and OkBtn close it with result 1.

#include "controls/bit_button.h"
#include "controls/click_label.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>

class TInfoBox : public QDialog {
    Q_OBJECT
public:
    // The version text and the help document's folder (ending in "/") and file name come
    // from the program's shared values.
    TInfoBox(const QString& versionText, const QString& helpFolder, const QString& helpFileName,
             QWidget* parent = nullptr);

    // Writes the French texts over the German design texts.
    void ApplyRunTimeTexts();

    // "file://" + help folder + file name, the folder's characters unchanged.
    QString HelpAddress() const;

    void HilfeBtnClick();
    void Label1Click();
    void Label3Click();
    void EinstellBtnClick();

    // The controls, named as the window's layout names them.
    QFrame* Panel1;
    QLabel* Image1;
    QLabel* TitelLabel;
    QWidget* Panel2;
    QLabel* VersionLabel;
    QPlainTextEdit* Memo1;
    QLabel* Label2;
    ClickLabel* Label1;
    QPlainTextEdit* Memo2;
    QLabel* LabUebersetzDanke;
    QFrame* Panel3;
    QLabel* LabSurftipp;
    QLabel* LabOnlinerechner;
    ClickLabel* Label3;
    QLabel* Label6;
    TBitBtn2* EinstellBtn;
    TBitBtn2* HilfeBtn;
    TBitBtn2* OkBtn;

signals:
    // The settings button was clicked; the settings side opens its dialog on top.
    void EinstellBtnClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void createControls();

    QString versionText_;
    QString helpFolder_;
    QString helpFileName_;
    bool placed_ = false;
};
