#pragma once

#include "bitmap/Dither.h"
#include "form/BoxMessage.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tervan {

// A progress bar's state; a maximum of 0 shows a bar that only says "busy".
struct ProgressRange {
    int value = 0;
    int maximum = 0;

    bool operator==(const ProgressRange&) const = default;
};

// What changes in one numbered control. Texts of lists and captions are UTF-8; edit texts are
// UTF-16, as the window's controls hold them.
struct ControlChange {
    int id = 0;
    std::optional<std::vector<std::string>> items = {}; // replaces every item
    std::optional<int> selection = {};                  // after `items`, when both are given
    std::optional<bool> checked = {};
    std::optional<bool> enabled = {};
    std::optional<std::u16string> text = {};
    std::optional<int> caret = {}; // an empty selection at this character position, after `text`
    std::optional<std::string> caption = {}; // a button's, a check box's or a label's
    std::optional<ProgressRange> progress = {};
    // A dots control's picture; null shows none.
    std::optional<std::shared_ptr<const LogoDots>> dots = {};
};

// What a window shows, in this order: the message; the controls, changed silently (a change made
// here raises no notification of its own); the title; the boxes one after the other; then the
// end of the dialog.
struct FormChanges {
    std::optional<BoxMessage> message = {};
    std::vector<ControlChange> controls = {};
    std::optional<std::string> title = {};
    std::vector<BoxMessage> boxes = {};
    std::optional<int> end = {}; // the dialog ends with this result, Ctl::IdOk or Ctl::IdCancel
};

} // namespace tervan
