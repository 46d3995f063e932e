#pragma once
// The Copy command: the surface picture onto the clipboard in the platform's ordinary
// image format.

#include <QImage>

class QWidget;

// The palette's ClipBtnClick. Returns whether the picture was put on the clipboard; the
// reason it was not has been shown.
bool CopyPictureToClipboard(const QImage& picture, QWidget* parent = nullptr);

inline const QString kNoClipboardMessage = "Zwischenablage kann nicht geöffnet werden";
inline const QString kNothingToCopyMessage =
    "Il n'y a encore rien à copier : cliquez d'abord sur « Lancer » pour figer l'écran.";
