#pragma once

// Drop-down lists that a screen reader names by their label. Qt's own interface for a combo box
// gives its current item as its name on X11 and Wayland and leaves the label to a relation, so
// every setting list would read "不改变"; the lists get an interface of their own instead, which
// gives the accessible name (or the label) as the name and the current item as the value.
namespace tervan {

// Once per program, before the first list is asked for its interface; calling it again is harmless.
void InstallListAccessibility();

} // namespace tervan
