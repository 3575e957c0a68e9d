#pragma once

#include <QString>
#include <functional>

// The X11 primary selection, which a middle click pastes. Tests stand in for the platform (the
// offscreen platform keeps no selection); user-interface thread only.

using VrSelectionSource = std::function<QString()>;

// The selected text; empty where nothing is selected or the platform keeps no selection.
QString VrSelectionText();

// Installs `source` in place of the platform (an empty source restores it); returns the previous one.
VrSelectionSource VrSetSelectionSource(VrSelectionSource source);
