#include "protocol/Strings.h"

#include <windows.h>

namespace tervan {

// As the resource loader picks a string table: by the user's interface language.
Language UiLanguage() {
    return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese
                                                                       : Language::English;
}

} // namespace tervan
