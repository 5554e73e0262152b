#pragma once

#include "protocol/SettingTable.h"
#include "protocol/Strings.h"

#include <span>
#include <string_view>

// The dialogs as data, for every window toolkit alike: each control with its number, kind,
// caption, place in dialog units, items and initial state. A window builds its controls from
// this and nothing else.
namespace tervan {

enum class ControlKind {
    GroupBox,
    Label,
    DropDownList,
    Edit,
    CheckBox,
    PushButton,
    TrackBar,
    Icon,
    ProgressBar,
    Dots, // a logo's dots as the printer prints them: 1:1 when they fit, else scaled down
          // unsmoothed
};

// Dialog units, as a dialog template measures them.
struct DialogRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
};

// Where a list's items come from.
enum class ItemSource {
    None,
    SettingList, // `list`, with "不改变" in front when the list has that row
    Ports,       // the system's port list, known only at start
    Form,        // `formItems` items, which the form gives as the dialog opens
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string_view caption = {}; // UTF-8; a label's or a button's text, a group's title
    DialogRect rect = {};
    ItemSource itemSource = ItemSource::None;
    const SettingList* list = nullptr;
    // The setting whose value this control holds or switches on, its "修改" box included; a
    // setting's lists stand in the order its record takes them.
    const Setting* setting = nullptr;
    int selection = -1; // initial list selection; -1 for none
    bool checked = false;
    bool enabled = true;
    bool visible = true;
    int limit = 0;              // edit length limit in characters; 0 for none
    std::string_view text = {}; // initial edit text
    bool defaultButton = false;
    int formItems = 0;
};

struct DialogStyle {
    bool systemMenu = true;
    bool sizingBorder = false;
    bool minimizeBox = false;
    bool maximizeBox = false;
    bool appWindow = false;  // its own task-bar button
    bool clientEdge = false; // sunken client edge
};

struct DialogTemplate {
    int id;
    std::string_view caption;
    int cx;
    int cy;
    std::string_view fontName;
    int pointSize;
    DialogStyle style;
    // In tab order. A label comes directly before the control it names. A group box comes
    // directly before its members; controls before the first group box stand alone.
    std::span<const ControlTemplate> controls;
};

const DialogTemplate& MainDialogTemplate();
const DialogTemplate& AboutDialogTemplate();
// The window a conversation runs under: a text, a bar and Cancel, under the main dialog's caption.
const DialogTemplate& ProgressDialogTemplate();
// The preview of a picture chosen for a logo, its texts in `language`.
const DialogTemplate& PreviewDialogTemplate(Language language);

// The numbered control `id` of `dialog`; null when it has none.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);

// The group box that holds `index` (a position in dialog.controls); null for a group box itself
// and for the controls that stand alone.
const ControlTemplate* GroupOf(const DialogTemplate& dialog, std::size_t index);

} // namespace tervan
