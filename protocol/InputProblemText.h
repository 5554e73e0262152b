#pragma once

#include "protocol/InputCheck.h"

#include <string>
#include <string_view>

namespace tervan {

// One line naming the setting as `name` (an option, a profile's key, a label) and what is wrong
// with it; `given` is the value as given. The texts the windows share come from the string table
// in `language`.
std::string InputProblemText(const InputProblem& problem, std::string_view name,
                             const std::string& given, const AnsiCodePage& codePage,
                             Language language = UiLanguage());

} // namespace tervan
