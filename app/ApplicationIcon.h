#pragma once

#include <QIcon>

// The program's icon: the one installed in the desktop's icon theme (what its menu shows), else the
// copy built into the program, so the window has its icon also when it runs from the build tree.
// Needs a QGuiApplication.
QIcon ApplicationIcon();
