#pragma once
// The program's icon, painted in code so the palette, the windows and the info box share
// one picture without an icon file.

#include <QIcon>
#include <QPixmap>

// The icon at `size` x `size` pixels: a frozen screen with a marker stroke and a pen.
QPixmap ProgramIconPixmap(int size);

// The icon with the usual sizes, for window icons and the info box.
QIcon ProgramIcon();
