#pragma once

#include "protocol/PrinterSettings.h"
#include "protocol/SettingLimits.h"
#include "protocol/SettingLists.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// Every setting the printer can be given, each described once: its name, its kind with its lists
// or limits, where the settings record keeps it, its command and its place in the order of
// sending. The command line's options, the form's gathering, the input check and the setup
// conversation all walk this table. The virtual printer's decoder does not: it reads the bytes on
// its own, so that the tests hold the core against an independent reading.
namespace tervan {

enum class SettingKind {
    List,         // one list; item n is the parameter of a one-byte command
    Font,         // a list whose items follow the dot-matrix box (lists[1]); only n travels
    SerialFormat, // the printer's own serial interface: a "修改" box and four lists in one byte
    Text,         // a "修改" box and an edit; the text goes out in the code page, then a NUL
    Offset,       // a list with one real row, and an edit with a number of dots
    Buzzer,       // two lists in one bit field
};

// What a text setting must hold, and what an empty or wrong one does to the conversation.
enum class TextRule {
    Identity, // skipped when empty
    BtName,   // ends the conversation when empty; limited in bytes as well
    BtPin,    // ends the conversation unless exactly its length (digits, on the command line)
};

struct Setting {
    std::string_view name; // the command line's option without its dashes; a profile's key
    SettingKind kind;
    int step;                    // its place in the order of sending, from 1
    std::string_view label = {}; // how the form's messages name it (those the input check refuses)
    std::string_view help = {};  // the command line's: %1 the characters it takes, %2 its bytes,
                                 // %3 an offset's range; the lists' help comes from their items
    std::array<const SettingList*, 4> lists = {}; // in the order the record takes them
    // Where the record keeps it: the member of its kind.
    std::optional<std::uint8_t> PrinterSettings::*item = nullptr; // List, Font
    std::optional<SetupCommandTable::SerialFormat> PrinterSettings::*format = nullptr;
    TextSetting PrinterSettings::*text = nullptr;
    OffsetSetting PrinterSettings::*offset = nullptr;
    std::optional<BuzzerChoice> PrinterSettings::*buzzer = nullptr;
    // Its command: the byte after ESC of a List, Font or Text setting (the parameter is n times
    // `scale`), or an offset's position a.
    std::uint8_t code = 0;
    std::uint8_t scale = 1;
    std::uint8_t position = 0;
    // A text's rule, the characters its edit takes and the bytes it may take (0: no limit).
    TextRule rule = TextRule::Identity;
    std::size_t characters = 0;
    std::size_t bytes = 0;
    std::string_view alternative = {}; // Font: the option that picks lists[1]
};

// The items of the settings' lists (row 0 "不改变" is the form's, not theirs).
namespace SettingItems {

inline constexpr std::array kFontThermal{
    ListItem{"字符12x24 汉字24x24", "12x24"},
    ListItem{"字符9x17  汉字16x16", "9x17"},
};
inline constexpr std::array kFontDotMatrix{
    ListItem{"西文下7*9点阵 中文下6*12", "7x9"},
    ListItem{"西文下9*9点阵 中文下8*16", "9x9"},
    ListItem{"西文下5*7点阵 中文不受影响", "5x7"},
};
inline constexpr std::array kLanguage{
    ListItem{"西文", "western"},
    ListItem{"简体中文", "simplified-chinese"},
    ListItem{"Big5繁体中文", "big5"},
    ListItem{"国标繁体中文(GB/T 12345)", "gb12345"},
    ListItem{"日文(Shift-JIS)", "shift-jis"},
};
inline constexpr std::array kCodePage{
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
static_assert(kCodePage.size() == 48);

inline constexpr std::array kOff{ListItem{"关", "off"}, ListItem{"开", "on"}};
inline constexpr std::array kSensitivity{ListItem{"低", "low"}, ListItem{"中", "medium"},
                                         ListItem{"高", "high"}};
inline constexpr std::array kSpeed{ListItem{"低速", "low"}, ListItem{"中速", "medium"},
                                   ListItem{"高速", "high"}, ListItem{"最高速", "highest"}};
inline constexpr std::array kDensity{
    ListItem{"0", ""},  ListItem{"1", ""},  ListItem{"2", ""},  ListItem{"3", ""},
    ListItem{"4", ""},  ListItem{"5", ""},  ListItem{"6", ""},  ListItem{"7", ""},
    ListItem{"8", ""},  ListItem{"9", ""},  ListItem{"10", ""}, ListItem{"11", ""},
    ListItem{"12", ""}, ListItem{"13", ""}, ListItem{"14", ""}, ListItem{"15", ""},
    ListItem{"16", ""}, ListItem{"17", ""}, ListItem{"18", ""}, ListItem{"19", ""},
    ListItem{"20", ""}, ListItem{"21", ""}, ListItem{"22", ""}, ListItem{"23", ""},
    ListItem{"24", ""}, ListItem{"25", ""}, ListItem{"26", ""}, ListItem{"27", ""},
    ListItem{"28", ""}, ListItem{"29", ""}, ListItem{"30", ""},
};
inline constexpr std::array kCrMode{ListItem{"无效", "off"}, ListItem{"有效", "on"}};
inline constexpr std::array kDirection{ListItem{"正向", "normal"}, ListItem{"反向", "reversed"}};
inline constexpr std::array kPaperWidth{
    ListItem{"72mm/576dot", "72"}, ListItem{"75mm/600dot", "75"}, ListItem{"80mm/640dot", "80"}};
inline constexpr std::array kUsbMode{ListItem{"打印机", "printer"}, ListItem{"CDC", "cdc"}};
inline constexpr std::array kBuzzerError{ListItem{"错误时禁止蜂鸣器", "off"},
                                         ListItem{"错误时允许蜂鸣器", "on"}};
inline constexpr std::array kBuzzerCut{ListItem{"切纸时禁止蜂鸣器", "off"},
                                       ListItem{"切纸时允许蜂鸣器", "on"}};
inline constexpr std::array kMarkStart{ListItem{"起始位置", "start"}};
inline constexpr std::array kMarkTear{ListItem{"撕纸位置", "tear"}};

} // namespace SettingItems

namespace Lists {
inline constexpr SettingList kFontThermal{"fonts", "字体设置:", true, SettingItems::kFontThermal};
inline constexpr SettingList kFontDotMatrix{"dot-matrix-fonts", "字体设置:", true,
                                            SettingItems::kFontDotMatrix};
inline constexpr SettingList kLanguage{"languages", "语言设置:", true, SettingItems::kLanguage};
inline constexpr SettingList kCodePage{"code-pages", "代码页:", true, SettingItems::kCodePage};
inline constexpr SettingList kMarkDetect{"mark-detect", "检测:", true, SettingItems::kOff};
inline constexpr SettingList kMarkSensitivity{"mark-sensitivity", "灵敏度:", true,
                                              SettingItems::kSensitivity};
inline constexpr SettingList kSpeed{"speed", "速度:", true, SettingItems::kSpeed};
inline constexpr SettingList kDensity{"density", "浓度:", true, SettingItems::kDensity};
inline constexpr SettingList kCrMode{"cr-mode", "0D回车:", true, SettingItems::kCrMode};
inline constexpr SettingList kDirection{"direction", "方向:", true, SettingItems::kDirection};
inline constexpr SettingList kPaperWidth{"paper-width", "宽度:", true, SettingItems::kPaperWidth};
inline constexpr SettingList kUsbMode{"usb-mode", "USB:", true, SettingItems::kUsbMode};
inline constexpr SettingList kCutter{"cutter", "切刀：", true, SettingItems::kOff};
inline constexpr SettingList kBuzzerError{"buzzer-error", "蜂鸣器:", true,
                                          SettingItems::kBuzzerError};
inline constexpr SettingList kBuzzerCut{"buzzer-cut", "蜂鸣器:", true, SettingItems::kBuzzerCut};
inline constexpr SettingList kMarkStart{"mark-start", "定位偏移:", true, SettingItems::kMarkStart};
inline constexpr SettingList kMarkTear{"mark-tear", "定位偏移:", true, SettingItems::kMarkTear};
} // namespace Lists

// The shapes of the table's rows, one per kind.
namespace Row {

using Item = std::optional<std::uint8_t> PrinterSettings::*;

constexpr Setting List(std::string_view name, int step, const SettingList& list, Item item,
                       std::uint8_t code, std::uint8_t scale = 1) {
    return {.name = name,
            .kind = SettingKind::List,
            .step = step,
            .lists = {&list},
            .item = item,
            .code = code,
            .scale = scale};
}

// A list whose items the alternative option (the form's dot-matrix box) swaps.
constexpr Setting Font(std::string_view name, int step, const SettingList& list,
                       std::string_view alternative, const SettingList& alternativeList, Item item,
                       std::uint8_t code) {
    Setting font = List(name, step, list, item, code);
    font.kind = SettingKind::Font;
    font.lists[1] = &alternativeList;
    font.alternative = alternative;
    return font;
}

constexpr Setting Text(std::string_view name, int step, std::string_view label,
                       std::string_view help, TextSetting PrinterSettings::*text, std::uint8_t code,
                       TextRule rule = TextRule::Identity) {
    return {.name = name,
            .kind = SettingKind::Text,
            .step = step,
            .label = label,
            .help = help,
            .text = text,
            .code = code,
            .rule = rule,
            .characters = rule == TextRule::BtName  ? kBtNameCharacters
                          : rule == TextRule::BtPin ? kBtPasswordLength
                                                    : kTextReadLength,
            .bytes = rule == TextRule::BtName ? kBtNameBytes : 0};
}

constexpr Setting Offset(std::string_view name, int step, std::string_view label,
                         std::string_view help, const SettingList& list,
                         OffsetSetting PrinterSettings::*offset, std::uint8_t position) {
    return {.name = name,
            .kind = SettingKind::Offset,
            .step = step,
            .label = label,
            .help = help,
            .lists = {&list},
            .offset = offset,
            .position = position};
}

} // namespace Row

// In the order the form shows them; `step` is the order of sending.
inline constexpr std::array kSettingTable{
    Row::Text("manufacturer", 6, "制造商名称", "manufacturer name, at most %1 characters",
              &PrinterSettings::manufacturer, 0x24),
    Row::Text("model", 7, "打印机型号", "printer model, at most %1 characters",
              &PrinterSettings::model, 0x25),
    Row::Text("serial-number", 8, "打印机序列号", "printer serial number, at most %1 characters",
              &PrinterSettings::serialNumber, 0x26),
    Row::Text("bt-name", 9, "蓝牙名称", "Bluetooth name, at most %2 bytes in the code page",
              &PrinterSettings::btName, 0x11, TextRule::BtName),
    Row::Text("bt-password", 10, "蓝牙密码", "Bluetooth PIN, exactly %1 digits",
              &PrinterSettings::btPassword, 0x10, TextRule::BtPin),
    Setting{.name = "serial-format",
            .kind = SettingKind::SerialFormat,
            .step = 5,
            .help = "the printer's own serial port: BAUD,PARITY,BITS,FLOW, e.g. "
                    "115200,even,7,xon-xoff",
            .lists = {&Lists::kBaudRate, &Lists::kParity, &Lists::kDataBits, &Lists::kFlowControl},
            .format = &PrinterSettings::serialFormat},
    Row::Font("font", 2, Lists::kFontThermal, "dot-matrix", Lists::kFontDotMatrix,
              &PrinterSettings::font, 0x21),
    Row::List("language", 3, Lists::kLanguage, &PrinterSettings::language, 0x22),
    Row::List("code-page", 1, Lists::kCodePage, &PrinterSettings::codePage, 0x74),
    Row::List("mark-detect", 11, Lists::kMarkDetect, &PrinterSettings::markDetect, 0x2B),
    Row::List("mark-sensitivity", 14, Lists::kMarkSensitivity, &PrinterSettings::markSensitivity,
              0x28),
    Row::Offset("mark-start", 12, "定位偏移(起始位置)",
                "black-mark print start offset in dots, %3 (positive feeds forward, negative "
                "backward)",
                Lists::kMarkStart, &PrinterSettings::markStart, SetupCommandTable::kMarkStart),
    Row::Offset("mark-tear", 13, "定位偏移(撕纸位置)", "black-mark tear-off offset, %3",
                Lists::kMarkTear, &PrinterSettings::markTear, SetupCommandTable::kMarkTear),
    Row::List("speed", 15, Lists::kSpeed, &PrinterSettings::speed, 0x2C),
    Row::List("density", 16, Lists::kDensity, &PrinterSettings::density, 0xFD),
    Row::List("cr-mode", 17, Lists::kCrMode, &PrinterSettings::crMode, 0x2E),
    Row::List("direction", 18, Lists::kDirection, &PrinterSettings::direction, 0x63),
    Row::List("paper-width", 19, Lists::kPaperWidth, &PrinterSettings::paperWidth, 0x2D),
    Setting{.name = "buzzer",
            .kind = SettingKind::Buzzer,
            .step = 21,
            .help = "ERROR,CUT: buzzer on error and at cut, each on|off",
            .lists = {&Lists::kBuzzerError, &Lists::kBuzzerCut},
            .buzzer = &PrinterSettings::buzzer},
    Row::List("cutter", 4, Lists::kCutter, &PrinterSettings::cutter, 0x32, 16),
    Row::List("usb-mode", 20, Lists::kUsbMode, &PrinterSettings::usbMode, 0x30),
};

// The table in the order of sending.
inline constexpr auto kSendingOrder = [] {
    std::array<const Setting*, kSettingTable.size()> order{};
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = &kSettingTable[i];
    }
    std::ranges::sort(order, {}, &Setting::step);
    return order;
}();
static_assert(
    [] {
        for (std::size_t i = 0; i < kSendingOrder.size(); ++i) {
            if (kSendingOrder[i]->step != static_cast<int>(i) + 1) {
                return false;
            }
        }
        return true;
    }(),
    "every setting has its own place in the order of sending");

// The setting of that name; a name the table lacks does not compile.
consteval const Setting& SettingNamed(std::string_view name) {
    for (const Setting& setting : kSettingTable) {
        if (setting.name == name) {
            return setting;
        }
    }
    throw "no setting of that name";
}

// Every list of the form in its order, the settings' and the others (the port list is the
// system's: ListPorts).
std::span<const SettingList* const> AllLists();
const SettingList* FindList(std::string_view name);

} // namespace tervan
