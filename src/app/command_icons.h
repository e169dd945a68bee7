// The toolbar's icons: the desktop icon theme's picture of each command where
// the theme has one, else a small pictogram drawn here, so every button shows
// an icon beside its caption on any desktop.
#pragma once

#include <QIcon>

namespace qp {

// The freedesktop icon name of a toolbar command; nullptr for a command
// without a toolbar icon.
const char* ThemeIconName(int commandId);

// The pictogram drawn for a command when the theme lacks its icon; a null
// icon for a command without a toolbar icon.
QIcon DrawnCommandIcon(int commandId);

// The theme's icon, falling back to the drawn one.
QIcon CommandIcon(int commandId);

}  // namespace qp
