#pragma once
// TDruckForm: the print dialog. It holds the print layout in centimetres (left and top
// margin from the paper's edges, width and height of the picture on paper), a check box that
// keeps width and height in the picture's proportions while they are edited, the current
// printer's name, and the buttons print, cancel and printer setup. It lives for the whole run,
// so the layout survives from one print to the next.

#include <QDialog>
#include <QImage>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class PrinterDevice;
class TBitBtn2;
class TMeldForm;
class TNumEditQ;

class TDruckForm : public QDialog {
    Q_OBJECT
public:
    // `printer` is the program's current printer and `meldForm` the window shown while a job
    // is prepared (none when null); both must outlive the dialog.
    explicit TDruckForm(PrinterDevice& printer, TMeldForm* meldForm = nullptr,
                        QWidget* parent = nullptr);

    // Where the picture to print comes from; read when the dialog opens and when printing.
    // Without one, or while it gives an empty picture, there is nothing to print.
    void setPictureSource(std::function<QImage()> source) { pictureSource_ = std::move(source); }

    // Opens the dialog modally (through execModal) after FormActivate; the palette's print
    // command. Returns the modal result: kModalOk after Print (which closes the dialog once
    // the job has ended, whatever its outcome), kModalCancel after Cancel.
    int Execute();

    // The French texts that replace the German design texts.
    void ApplyRunTimeTexts();

    void FormActivate();
    void DrEinrBtnClick();
    void DruckBtnClick();
    void SeitRatioClick();
    void BreiteEditChange();
    void HoeheEditChange();

    // Width ÷ height of the picture when the dialog last opened; 0 before, and while the
    // picture is empty.
    double PictureRatio() const { return pictureRatio_; }

    QWidget* Panel1 = nullptr;
    QGroupBox* PosGroupBox = nullptr;
    QLabel* LiRandLab = nullptr;
    TNumEditQ* LiRandEdit = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* ObRandLab = nullptr;
    TNumEditQ* ObRandEdit = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* BreiteLab = nullptr;
    TNumEditQ* BreiteEdit = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* HoeheLab = nullptr;
    TNumEditQ* HoeheEdit = nullptr;
    QLabel* Label10 = nullptr;
    QCheckBox* SeitRatio = nullptr;
    QGroupBox* DruckerGroupBox = nullptr;
    QLabel* DruckerInfo = nullptr;
    TBitBtn2* DruckBtn = nullptr;
    TBitBtn2* AbbrBtn = nullptr;
    TBitBtn2* DrEinrBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void UpdateDruckerInfo();
    QImage picture() const;

    PrinterDevice& printer_;
    TMeldForm* meldForm_;
    std::function<QImage()> pictureSource_;
    double pictureRatio_ = 0;
};

inline const QString kNothingToPrintMessage = QString::fromUtf8(
    "Il n'y a encore rien à imprimer : cliquez d'abord sur « Lancer » pour figer l'écran.");
inline const QString kPrintWaitMessage =
    QStringLiteral("Ausdruck wird vorbereitet.||Bitte warten.");
inline const QString kNoPrinterLine = QStringLiteral("- Kein Drucker -");
