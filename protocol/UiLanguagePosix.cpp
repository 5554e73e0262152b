#include "protocol/Strings.h"

#include <cstdlib>
#include <string>

namespace tervan {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

} // namespace

Language UiLanguage() {
    // As Qt reads the system locale's UI languages: LANGUAGE (a colon list) first, else the
    // messages locale (LC_ALL, LC_MESSAGES, LANG), whether or not that locale is installed.
    std::string name;
    const std::string languages = Env("LANGUAGE");
    std::size_t start = 0;
    while (name.empty() && start < languages.size()) {
        const std::size_t colon = languages.find(':', start);
        name =
            languages.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        start = colon == std::string::npos ? languages.size() : colon + 1;
    }
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (name.empty()) {
            name = Env(variable);
        }
    }
    return name.starts_with("zh") ? Language::Chinese : Language::English;
}

} // namespace tervan
