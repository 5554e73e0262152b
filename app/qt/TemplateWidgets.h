#pragma once

#include "form/DialogTemplate.h"

#include <QFont>
#include <QRect>

#include <map>
#include <memory>
#include <vector>

class QIcon;
class QWidget;

namespace tervan {

// The dialog font's base units, as a dialog template measures its units: a horizontal unit is a
// quarter of the average character width, a vertical one an eighth of the character height.
struct DialogBaseUnits {
    int cx = 0;
    int cy = 0;
};

// The dialog font: the system's, at the template's size, with a CJK face behind it so Chinese
// captions never turn into boxes.
QFont DialogFont(const DialogTemplate& dialog);
DialogBaseUnits BaseUnits(const QFont& font);
QRect ToPixels(const DialogRect& rect, DialogBaseUnits units);

struct BuiltControls {
    std::map<int, QWidget*> numbered;
    // The hidden controls, kept out of `parent` and with it out of the accessibility tree: they
    // are only clicked by program.
    std::vector<std::unique_ptr<QWidget>> hidden;
};

// Creates the template's controls at their places, with their captions, items, limits, initial
// states and accessible names; the visible ones as children of `parent`. Each numbered control
// carries its number as its object name and in the property "controlId". A label is the buddy
// of the control after it.
BuiltControls BuildControls(const DialogTemplate& dialog, QWidget& parent, DialogBaseUnits units,
                            const QIcon& icon);

} // namespace tervan
