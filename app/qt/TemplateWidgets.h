#pragma once

#include "form/DialogTemplate.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <map>

class QIcon;
class QWidget;

namespace tervan {

// The program's UTF-8 texts as Qt holds them.
inline QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

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

// Creates the template's controls as children of `parent`, at their places, with their captions,
// items, limits, initial states and accessible names; a hidden one as a window of its own that
// `parent` owns and never shows, which keeps it out of the accessibility tree. Each numbered
// control carries its number as its object name and in the property "controlId". A label is the
// buddy of the control after it. Returns the numbered controls by number.
std::map<int, QWidget*> BuildControls(const DialogTemplate& dialog, QWidget& parent,
                                      DialogBaseUnits units, const QIcon& icon);

} // namespace tervan
