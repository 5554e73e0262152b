#include "protocol/ToAnsi.h"

#include <cstdlib>

namespace tervan {

namespace {

struct LanguageRule {
    std::string_view language; // "zh" or "zh_TW"
    int codePage;
};

// Windows' ANSI code page for a user locale; territory-specific rules come first.
constexpr LanguageRule kRules[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936},  {"ja", 932},  {"ko", 949},
    {"ru", 1251},   {"uk", 1251},   {"bg", 1251},   {"be", 1251}, {"mk", 1251}, {"sr", 1251},
    {"kk", 1251},   {"el", 1253},   {"tr", 1254},   {"az", 1254}, {"he", 1255}, {"iw", 1255},
    {"ar", 1256},   {"fa", 1256},   {"ur", 1256},   {"lt", 1257}, {"lv", 1257}, {"et", 1257},
    {"pl", 1250},   {"cs", 1250},   {"sk", 1250},   {"hu", 1250}, {"sl", 1250}, {"hr", 1250},
    {"ro", 1250},   {"sq", 1250},   {"bs", 1250},   {"vi", 1258}, {"th", 874},  {"lo", 874},
};

bool IsUtf8(std::string_view codeset) {
    std::string lower;
    for (char c : codeset) {
        if (c != '-' && c != '_') {
            lower.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c);
        }
    }
    return lower == "utf8";
}

} // namespace

AnsiCodePage AnsiCodePageNumbered(int number) {
    if (number == 65001) {
        return {"UTF-8", false};
    }
    return {"CP" + std::to_string(number), false};
}

AnsiCodePage AnsiCodePageForLocale(std::string_view locale) {
    const std::size_t at = locale.find('@');
    const std::string_view base = locale.substr(0, at);
    const std::size_t dot = base.find('.');
    const std::string_view name = base.substr(0, dot);
    if (dot != std::string_view::npos) {
        const std::string_view codeset = base.substr(dot + 1);
        // A locale that names a legacy codeset already says which bytes the user's texts take.
        if (!codeset.empty() && !IsUtf8(codeset)) {
            return {std::string(codeset), false};
        }
    }
    for (const LanguageRule& rule : kRules) {
        const bool whole = rule.language.find('_') != std::string_view::npos;
        const std::string_view candidate = whole ? name : name.substr(0, name.find('_'));
        if (candidate == rule.language) {
            return AnsiCodePageNumbered(rule.codePage);
        }
    }
    return AnsiCodePageNumbered(1252);
}

AnsiCodePage SystemAnsiCodePage() {
    if (const char* forced = std::getenv("TERVAN_ANSI_CODEPAGE"); forced && *forced) {
        const std::string value(forced);
        char* end = nullptr;
        const long number = std::strtol(value.c_str(), &end, 10);
        if (end != nullptr && *end == '\0' && number > 0) {
            AnsiCodePage chosen = AnsiCodePageNumbered(static_cast<int>(number));
            chosen.fromEnvironment = true;
            return chosen;
        }
        return {value, true};
    }
    return NativeAnsiCodePage();
}

} // namespace tervan
