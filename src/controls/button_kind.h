#pragma once
// The standard kinds of bitmap button: what each sets up and the picture it shows.

#include <QImage>

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

struct KindSetup {
    bool isDefault;
    bool cancel;
    int modalResult;
};

// What setting a kind other than bkCustom gives Default, Cancel and ModalResult.
KindSetup KindSetupOf(TBitBtnKind kind);

// The kind's 16-colour picture: two frames of 18 x 18 (normal, disabled) side by side,
// 19 rows for bkAll, on olive as the transparent colour. Empty for bkCustom. Drawn once and
// kept until the program ends.
const QImage& KindPicture(TBitBtnKind kind);
