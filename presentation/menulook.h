#pragma once

class QMenu;

namespace kelvoro {

// Gives a popup menu the program's own look: a grey strip on the left that holds an icon or
// a check mark, the captions and the shortcut texts in two aligned columns, a blue frame
// around the item under the mouse, grey three-tone images for disabled items and thin
// separator lines. Meant for the popups only: the menu bar's titles keep the platform's look.
void applyMenuLook(QMenu* menu);

} // namespace kelvoro
