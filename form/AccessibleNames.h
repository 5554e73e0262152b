#pragma once

#include "form/DialogTemplate.h"

#include <cstddef>
#include <string_view>

// What a screen reader calls each control of a dialog, once for every window toolkit.
namespace tervan {

enum class NameSource {
    None,    // nothing names it (the divider)
    Caption, // its own text: a button, a check box with a caption of its own, a label
    Label,   // the label placed right before it in the template
    Given,   // a name of its own, where no label or caption can say which control it is
};

struct AccessibleName {
    std::string_view text; // UTF-8
    NameSource source = NameSource::None;
};

// The name of dialog.controls[index].
AccessibleName AccessibleNameOf(const DialogTemplate& dialog, std::size_t index);

} // namespace tervan
