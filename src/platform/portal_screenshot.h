#pragma once
// The screen grab on Wayland desktops, where a client can read no pixels but its own: the
// desktop portal (org.freedesktop.portal.Screenshot on the D-Bus session bus) takes the
// screenshot, writes it to a file and names the file; we read it, keep the primary screen,
// and delete the file.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

// Long enough for the portal's one-time permission question to be answered.
constexpr int kPortalTimeoutMs = 20000;

// The primary screen asked of the portal without any dialog of the portal's own, as a
// Format_RGB32 picture of `deviceSize` (PrimaryScreenDeviceRect().size()). Null when the
// portal is absent, refuses, fails or does not answer within `timeoutMs`; `failure` then
// says why, in words for a log.
QImage GrabPrimaryScreenThroughPortal(QSize deviceSize, QString* failure = nullptr,
                                      int timeoutMs = kPortalTimeoutMs);

// The two halves of that grab, apart so that each can be timed: the portal's answer, the
// file it wrote (empty on failure); and that file read, deleted and cut to the primary screen.
QString TakePortalScreenshot(QString* failure = nullptr, int timeoutMs = kPortalTimeoutMs);
QImage ReadPortalScreenshot(const QString& file, QSize deviceSize, QString* failure = nullptr);

// The primary screen out of a picture of the whole desktop. The desktop's layout is known in
// logical pixels (`desktop`, `primary`); the picture may hold it scaled (a portal on a scaled
// output writes device pixels), so the primary screen is cut where the picture's own scale
// puts it, and resized to `deviceSize` only where that scale is not the screen's.
QImage CropToPrimaryScreen(const QImage& wholeDesktop, const QRect& desktop, const QRect& primary,
                           QSize deviceSize);
