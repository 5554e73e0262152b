#pragma once

#include "protocol/InputCheck.h"

#include <string>

namespace tervan::cli {

// One line naming the option and what is wrong with it; `given` is the option's value as given.
// The texts the windows share come from the string table in the user's language.
std::string InputProblemText(const InputProblem& problem, const std::string& given,
                             const AnsiCodePage& codePage);

} // namespace tervan::cli
