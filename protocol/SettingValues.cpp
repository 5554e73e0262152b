#include "protocol/SettingValues.h"

#include "base/Utf.h"
#include "protocol/MarkOffset.h"

#include <array>
#include <vector>

namespace tervan {

namespace {

using Problem = std::optional<std::string>;

// "on (开)": the command-line name, with the form's text where it says more.
std::string ItemName(const ListItem& item) {
    if (item.alias.empty() || item.alias == item.text) {
        return std::string(item.text);
    }
    return std::string(item.alias) + " (" + std::string(item.text) + ")";
}

Problem ResolveList(std::string_view name, const SettingList& list, std::string_view value,
                    std::optional<std::uint8_t>& out) {
    const auto n = ResolveItem(list, value);
    if (!n) {
        return std::string(name) + ": '" + std::string(value) + "' is not allowed; use " +
               AllowedValues(list);
    }
    out = static_cast<std::uint8_t>(*n);
    return std::nullopt;
}

Problem ReadText(std::string_view name, std::string_view value, std::u16string& out) {
    const auto text = Utf8ToUtf16(value);
    if (!text) {
        return std::string(name) + ": not valid UTF-8 text";
    }
    out = *text;
    return std::nullopt;
}

// Offsets are whole numbers; a text that is none is marked so, and refused by the input check in
// its turn (it is UTF-8, like any text given).
Problem ReadOffset(std::string_view name, std::string_view value, OffsetSetting& out) {
    std::u16string text;
    if (auto problem = ReadText(name, value, text)) {
        return problem;
    }
    out.dots = ParseWholeMarkOffset(value);
    return std::nullopt;
}

std::vector<std::string_view> SplitAtCommas(std::string_view value) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(
            value.substr(start, comma == std::string_view::npos ? value.npos : comma - start));
        if (comma == std::string_view::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

Problem ReadSerialFormat(std::string_view name, const Setting& setting, std::string_view value,
                         SetupCommandTable::SerialFormat& out) {
    const std::string usage = std::string(name) + ": '" + std::string(value) +
                              "' is not BAUD,PARITY,BITS,FLOW (BAUD 1200..115200, PARITY "
                              "none|odd|even, BITS 7|8, FLOW xon-xoff|rts-cts), e.g. "
                              "115200,even,7,xon-xoff";
    const std::vector<std::string_view> parts = SplitAtCommas(value);
    if (parts.size() != 4) {
        return usage;
    }
    std::array<std::uint8_t, 4> indices{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto n = ResolveItemName(*setting.lists[i], parts[i]);
        if (!n) {
            return usage;
        }
        indices[i] = static_cast<std::uint8_t>(*n);
    }
    out = {indices[0], indices[1], indices[2], indices[3]};
    return std::nullopt;
}

std::optional<bool> OnOff(std::string_view value) {
    if (value == "on") {
        return true;
    }
    if (value == "off") {
        return false;
    }
    return std::nullopt;
}

Problem ReadBuzzer(std::string_view name, std::string_view value, BuzzerChoice& out) {
    const std::vector<std::string_view> parts = SplitAtCommas(value);
    const auto onError = OnOff(parts[0]);
    const auto onCut = parts.size() == 2 ? OnOff(parts[1]) : std::nullopt;
    if (!onError || !onCut) {
        return std::string(name) + ": '" + std::string(value) +
               "' is not ERROR,CUT with each on or off, e.g. on,off";
    }
    out = {*onError, *onCut};
    return std::nullopt;
}

const char* OnOffText(bool on) {
    return on ? "on" : "off";
}

} // namespace

std::string ListChoices(const SettingList& list) {
    std::string out;
    for (std::size_t n = 0; n < list.items.size(); ++n) {
        out += (n == 0 ? "" : " | ") + std::to_string(n) + " " + ItemName(list.items[n]);
    }
    return out;
}

std::string AllowedValues(const SettingList& list) {
    std::string range = "0.." + std::to_string(list.items.size() - 1);
    if (list.items.front().alias.empty() && list.items.front().text == "0") {
        return range; // the items are the numbers themselves
    }
    if (list.items.size() > 12) {
        return range + " or a name from tervan-cli list " + std::string(list.name);
    }
    return ListChoices(list);
}

std::optional<std::string> TakeSettingValue(const Setting& setting, std::string_view value,
                                            bool alternative, PrinterSettings& s,
                                            std::string_view name) {
    switch (setting.kind) {
    case SettingKind::List:
    case SettingKind::Font:
        return ResolveList(name, *setting.lists[alternative ? 1 : 0], value, s.*setting.item);
    case SettingKind::SerialFormat:
        return ReadSerialFormat(name, setting, value, (s.*setting.format).emplace());
    case SettingKind::Text:
        (s.*setting.text).checked = true;
        return ReadText(name, value, (s.*setting.text).text);
    case SettingKind::Offset:
        (s.*setting.offset).set = true;
        return ReadOffset(name, value, s.*setting.offset);
    case SettingKind::Buzzer:
        return ReadBuzzer(name, value, (s.*setting.buzzer).emplace());
    }
    return std::nullopt;
}

std::optional<SettingValue> SettingValueOf(const Setting& setting, const PrinterSettings& s) {
    switch (setting.kind) {
    case SettingKind::List:
    case SettingKind::Font: {
        const std::optional<std::uint8_t> n = s.*setting.item;
        if (!n) {
            return std::nullopt;
        }
        const bool alternative = setting.kind == SettingKind::Font && s.dotMatrixFonts;
        const auto& items = setting.lists[alternative ? 1 : 0]->items;
        if (*n < items.size() && !items[*n].alias.empty()) {
            return SettingValue{std::string(items[*n].alias)};
        }
        return SettingValue{std::to_string(*n), true}; // the numbers, and the rows named alike
    }
    case SettingKind::SerialFormat: {
        const auto& format = s.*setting.format;
        if (!format) {
            return std::nullopt;
        }
        const std::array<std::uint8_t, 4> indices{format->baudIndex, format->parityIndex,
                                                  format->dataBitsIndex, format->flowIndex};
        std::string text;
        for (std::size_t i = 0; i < indices.size(); ++i) {
            const auto& items = setting.lists[i]->items;
            // Appended piece by piece: MinGW's GCC 12 sees a false overlap in the chained
            // operator+.
            text.append(i == 0 ? "" : ",")
                .append(indices[i] < items.size() ? ItemSpelling(items[indices[i]]) : "?");
        }
        return SettingValue{text};
    }
    case SettingKind::Text: {
        const TextSetting& text = s.*setting.text;
        if (!text.checked) {
            return std::nullopt;
        }
        return SettingValue{Utf16ToUtf8(text.text)};
    }
    case SettingKind::Offset: {
        const OffsetSetting& offset = s.*setting.offset;
        if (!offset.set || !offset.dots) {
            return std::nullopt;
        }
        return SettingValue{std::to_string(*offset.dots), true};
    }
    case SettingKind::Buzzer: {
        const auto& buzzer = s.*setting.buzzer;
        if (!buzzer) {
            return std::nullopt;
        }
        return SettingValue{std::string(OnOffText(buzzer->onError)) + "," +
                            OnOffText(buzzer->onCut)};
    }
    }
    return std::nullopt;
}

} // namespace tervan
