#include "protocol/SettingLists.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tervan {

namespace {

constexpr std::array kFontThermalItems{
    ListItem{"字符12x24 汉字24x24", "12x24"},
    ListItem{"字符9x17  汉字16x16", "9x17"},
};
constexpr std::array kFontDotMatrixItems{
    ListItem{"西文下7*9点阵 中文下6*12", "7x9"},
    ListItem{"西文下9*9点阵 中文下8*16", "9x9"},
    ListItem{"西文下5*7点阵 中文不受影响", "5x7"},
};
constexpr std::array kLanguageItems{
    ListItem{"西文", "western"},
    ListItem{"简体中文", "simplified-chinese"},
    ListItem{"Big5繁体中文", "big5"},
    ListItem{"国标繁体中文(GB/T 12345)", "gb12345"},
    ListItem{"日文(Shift-JIS)", "shift-jis"},
};
constexpr std::array kCodePageItems{
    ListItem{"CP437 [U.S.A., Standard Europe]", "cp437"},
    ListItem{"Katakana", "katakana"},
    ListItem{"CP850 [Multilingual]", "cp850"},
    ListItem{"CP860 [Portuguese]", "cp860"},
    ListItem{"CP863 [Canadian-French]", "cp863"},
    ListItem{"CP865 [Nordic]", "cp865"},
    ListItem{"WCP1251 [Cyrillic]", "wcp1251"},
    ListItem{"CP866 Cyrilliec #2 ", "cp866"},
    ListItem{"MIK[Cyrillic /Bulgarian]", "mik"},
    ListItem{"CP755 [East Europe，Latvian 2]", "cp755"},
    ListItem{"Iran", "iran"},
    ListItem{"reserve", ""},
    ListItem{"reserve", ""},
    ListItem{"reserve", ""},
    ListItem{"reserve", ""},
    ListItem{"CP862 [Hebrew]", "cp862"},
    ListItem{"WCP1252 Latin I", "wcp1252"},
    ListItem{"WCP1253 [Greek]", "wcp1253"},
    ListItem{"CP852 [Latina 2]", "cp852"},
    ListItem{"CP858 Multilingual Latin Ⅰ", "cp858"},
    ListItem{"Iran II", "iran2"},
    ListItem{"Latvian", "latvian"},
    ListItem{"CP864 [Arabic]", "cp864"},
    ListItem{"ISO-8859-1 [West Europe]", "iso-8859-1"},
    ListItem{"CP737 [Greek]", "cp737"},
    ListItem{"WCP1257 [Baltic]", "wcp1257"},
    ListItem{"Thai", "thai"},
    ListItem{"CP720[Arabic]", "cp720"},
    ListItem{"CP855", "cp855"},
    ListItem{"CP857[Turkish]", "cp857"},
    ListItem{"WCP1250[Central Eurpoe]", "wcp1250"},
    ListItem{"CP775", "cp775"},
    ListItem{"WCP1254[Turkish]", "wcp1254"},
    ListItem{"WCP1255[Hebrew]", "wcp1255"},
    ListItem{"WCP1256[Arabic]", "wcp1256"},
    ListItem{"WCP1258[Vietnam]", "wcp1258"},
    ListItem{"ISO-8859-2[Latin 2]", "iso-8859-2"},
    ListItem{"ISO-8859-3[Latin 3]", "iso-8859-3"},
    ListItem{"ISO-8859-4[Baltic]", "iso-8859-4"},
    ListItem{"ISO-8859-5[Cyrillic]", "iso-8859-5"},
    ListItem{"ISO-8859-6[Arabic]", "iso-8859-6"},
    ListItem{"ISO-8859-7[Greek]", "iso-8859-7"},
    ListItem{"ISO-8859-8[Hebrew]", "iso-8859-8"},
    ListItem{"ISO-8859-9[Turkish]", "iso-8859-9"},
    ListItem{"ISO-8859-15 [Latin 3]", "iso-8859-15"},
    ListItem{"Thai2", "thai2"},
    ListItem{"CP856", "cp856"},
    ListItem{"Cp874", "cp874"},
};
static_assert(kCodePageItems.size() == 48);

constexpr std::array kOffItems{ListItem{"关", "off"}, ListItem{"开", "on"}};
constexpr std::array kSensitivityItems{ListItem{"低", "low"}, ListItem{"中", "medium"},
                                       ListItem{"高", "high"}};
constexpr std::array kSpeedItems{ListItem{"低速", "low"}, ListItem{"中速", "medium"},
                                 ListItem{"高速", "high"}, ListItem{"最高速", "highest"}};
constexpr std::array kDensityItems{
    ListItem{"0", ""},  ListItem{"1", ""},  ListItem{"2", ""},  ListItem{"3", ""},
    ListItem{"4", ""},  ListItem{"5", ""},  ListItem{"6", ""},  ListItem{"7", ""},
    ListItem{"8", ""},  ListItem{"9", ""},  ListItem{"10", ""}, ListItem{"11", ""},
    ListItem{"12", ""}, ListItem{"13", ""}, ListItem{"14", ""}, ListItem{"15", ""},
    ListItem{"16", ""}, ListItem{"17", ""}, ListItem{"18", ""}, ListItem{"19", ""},
    ListItem{"20", ""}, ListItem{"21", ""}, ListItem{"22", ""}, ListItem{"23", ""},
    ListItem{"24", ""}, ListItem{"25", ""}, ListItem{"26", ""}, ListItem{"27", ""},
    ListItem{"28", ""}, ListItem{"29", ""}, ListItem{"30", ""},
};
constexpr std::array kCrModeItems{ListItem{"无效", "off"}, ListItem{"有效", "on"}};
constexpr std::array kDirectionItems{ListItem{"正向", "normal"}, ListItem{"反向", "reversed"}};
constexpr std::array kPaperWidthItems{ListItem{"72mm/576dot", "72"}, ListItem{"75mm/600dot", "75"},
                                      ListItem{"80mm/640dot", "80"}};
constexpr std::array kUsbModeItems{ListItem{"打印机", "printer"}, ListItem{"CDC", "cdc"}};
constexpr std::array kBuzzerErrorItems{ListItem{"错误时禁止蜂鸣器", "off"},
                                       ListItem{"错误时允许蜂鸣器", "on"}};
constexpr std::array kBuzzerCutItems{ListItem{"切纸时禁止蜂鸣器", "off"},
                                     ListItem{"切纸时允许蜂鸣器", "on"}};
constexpr std::array kMarkStartItems{ListItem{"起始位置", "start"}};
constexpr std::array kMarkTearItems{ListItem{"撕纸位置", "tear"}};
constexpr std::array kSlotItems{ListItem{"0", ""}, ListItem{"1", ""}, ListItem{"2", ""},
                                ListItem{"3", ""}, ListItem{"4", ""}, ListItem{"5", ""},
                                ListItem{"6", ""}, ListItem{"7", ""}, ListItem{"8", ""}};
constexpr std::array kBaudItems{ListItem{"1200", ""},  ListItem{"2400", ""},  ListItem{"4800", ""},
                                ListItem{"9600", ""},  ListItem{"19200", ""}, ListItem{"38400", ""},
                                ListItem{"57600", ""}, ListItem{"115200", ""}};
constexpr std::array kParityItems{ListItem{"NONE", "none"}, ListItem{"ODD", "odd"},
                                  ListItem{"EVEN", "even"}};
constexpr std::array kDataBitsItems{ListItem{"7", ""}, ListItem{"8", ""}};
constexpr std::array kFlowItems{ListItem{"XON/XOFF", "xon-xoff"}, ListItem{"RTS/CTS", "rts-cts"}};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

namespace Lists {
const SettingList kFontThermal{"fonts", "字体设置:", true, kFontThermalItems};
const SettingList kFontDotMatrix{"dot-matrix-fonts", "字体设置:", true, kFontDotMatrixItems};
const SettingList kLanguage{"languages", "语言设置:", true, kLanguageItems};
const SettingList kCodePage{"code-pages", "代码页:", true, kCodePageItems};
const SettingList kMarkDetect{"mark-detect", "检测:", true, kOffItems};
const SettingList kMarkSensitivity{"mark-sensitivity", "灵敏度:", true, kSensitivityItems};
const SettingList kSpeed{"speed", "速度:", true, kSpeedItems};
const SettingList kDensity{"density", "浓度:", true, kDensityItems};
const SettingList kCrMode{"cr-mode", "0D回车:", true, kCrModeItems};
const SettingList kDirection{"direction", "方向:", true, kDirectionItems};
const SettingList kPaperWidth{"paper-width", "宽度:", true, kPaperWidthItems};
const SettingList kUsbMode{"usb-mode", "USB:", true, kUsbModeItems};
const SettingList kCutter{"cutter", "切刀：", true, kOffItems};
const SettingList kBuzzerError{"buzzer-error", "蜂鸣器:", true, kBuzzerErrorItems};
const SettingList kBuzzerCut{"buzzer-cut", "蜂鸣器:", true, kBuzzerCutItems};
const SettingList kMarkStart{"mark-start", "定位偏移:", true, kMarkStartItems};
const SettingList kMarkTear{"mark-tear", "定位偏移:", true, kMarkTearItems};
const SettingList kBitmapSlot{"slots", "位图索引:", false, kSlotItems};
const SettingList kBaudRate{"baud-rates", "波特率:", false, kBaudItems};
const SettingList kParity{"parities", "校验:", false, kParityItems};
const SettingList kDataBits{"data-bits", "数据位:", false, kDataBitsItems};
const SettingList kFlowControl{"flow-control", "流控:", false, kFlowItems};
} // namespace Lists

std::span<const SettingList* const> AllLists() {
    static constexpr std::array kAll{
        &Lists::kBaudRate,    &Lists::kParity,          &Lists::kDataBits,  &Lists::kFlowControl,
        &Lists::kFontThermal, &Lists::kFontDotMatrix,   &Lists::kLanguage,  &Lists::kCodePage,
        &Lists::kMarkDetect,  &Lists::kMarkSensitivity, &Lists::kMarkStart, &Lists::kMarkTear,
        &Lists::kSpeed,       &Lists::kDensity,         &Lists::kCrMode,    &Lists::kDirection,
        &Lists::kPaperWidth,  &Lists::kBuzzerError,     &Lists::kBuzzerCut, &Lists::kCutter,
        &Lists::kUsbMode,     &Lists::kBitmapSlot,
    };
    return kAll;
}

const SettingList* FindList(std::string_view name) {
    for (const SettingList* list : AllLists()) {
        if (list->name == name) {
            return list;
        }
    }
    return nullptr;
}

std::optional<std::size_t> ResolveItem(const SettingList& list, std::string_view value) {
    // Names first, so "72" is the 72 mm paper and "7" the seven data bits; numbers after.
    for (std::size_t n = 0; n < list.items.size(); ++n) {
        const ListItem& item = list.items[n];
        if ((!item.alias.empty() && EqualsIgnoringAsciiCase(item.alias, value)) ||
            EqualsIgnoringAsciiCase(item.text, value)) {
            return n;
        }
    }
    std::size_t number = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (!value.empty() && error == std::errc{} && end == value.data() + value.size() &&
        number < list.items.size()) {
        return number;
    }
    return std::nullopt;
}

} // namespace tervan
