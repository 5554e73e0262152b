#include "app/win32/ResourceStrings.h"

#include <optional>

namespace tervan {

namespace {

// A string table resource holds 16 strings, each a length and that many UTF-16 units.
constexpr unsigned kStringsPerBlock = 16;

std::optional<std::wstring> FindString(unsigned id, LANGID language) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    const unsigned block = id / kStringsPerBlock + 1;
    HRSRC info = ::FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                   MAKEINTRESOURCEW(block), language);
    if (info == nullptr) {
        return std::nullopt;
    }
    HGLOBAL loaded = ::LoadResource(module, info);
    const auto* data = static_cast<const WORD*>(::LockResource(loaded));
    if (data == nullptr) {
        return std::nullopt;
    }
    const DWORD words = ::SizeofResource(module, info) / sizeof(WORD);
    DWORD at = 0;
    for (unsigned i = 0; i < id % kStringsPerBlock; ++i) {
        if (at >= words) {
            return std::nullopt;
        }
        at += 1 + data[at];
    }
    if (at >= words || data[at] == 0 || at + 1 + data[at] > words) {
        return std::nullopt;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(data + at + 1), data[at]);
}

} // namespace

LANGID StringTableLanguage(Language language) {
    return language == Language::Chinese ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                                         : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
}

std::wstring LoadResString(StringId id, Language language) {
    const unsigned number = static_cast<unsigned>(id);
    if (auto text = FindString(number, StringTableLanguage(language))) {
        return *text;
    }
    return FindString(number, StringTableLanguage(Language::English)).value_or(std::wstring());
}

std::wstring LoadResString(StringId id) {
    return LoadResString(id, UiLanguage());
}

} // namespace tervan
