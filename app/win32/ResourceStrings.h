#pragma once

#include "protocol/Strings.h"

#include <windows.h>

#include <string>

namespace tervan {

// The language of the string table the window reads: the one the core's messages are in
// (UiLanguage, the system's user-interface language), so a box never mixes two languages.
LANGID StringTableLanguage(Language language);

// String `id` of the module's string table in `language`; the English table when that language
// has no such entry; empty when neither has it.
std::wstring LoadResString(StringId id, Language language);
std::wstring LoadResString(StringId id);

} // namespace tervan
