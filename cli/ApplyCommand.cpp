#include "cli/ApplyCommand.h"

#include "cli/ExitCode.h"
#include "cli/InputProblemText.h"
#include "cli/LinkOptions.h"
#include "protocol/ApplySettings.h"
#include "protocol/InputCheck.h"
#include "protocol/SettingLists.h"
#include "protocol/ToAnsi.h"
#include "protocol/Utf.h"

#include <memory>

namespace tervan::cli {

namespace {

struct ListSetting {
    const char* flag;
    const SettingList& list;
    std::optional<std::uint8_t> PrinterSettings::*field;
};

const ListSetting kListSettings[] = {
    {"--code-page", Lists::kCodePage, &PrinterSettings::codePage},
    {"--language", Lists::kLanguage, &PrinterSettings::language},
    {"--cutter", Lists::kCutter, &PrinterSettings::cutter},
    {"--mark-detect", Lists::kMarkDetect, &PrinterSettings::markDetect},
    {"--mark-sensitivity", Lists::kMarkSensitivity, &PrinterSettings::markSensitivity},
    {"--speed", Lists::kSpeed, &PrinterSettings::speed},
    {"--density", Lists::kDensity, &PrinterSettings::density},
    {"--cr-mode", Lists::kCrMode, &PrinterSettings::crMode},
    {"--direction", Lists::kDirection, &PrinterSettings::direction},
    {"--paper-width", Lists::kPaperWidth, &PrinterSettings::paperWidth},
    {"--usb-mode", Lists::kUsbMode, &PrinterSettings::usbMode},
};

struct TextOption {
    const char* flag;
    TextSetting PrinterSettings::*field;
    const char* help;
};

const TextOption kIdentityTexts[] = {
    {"--manufacturer", &PrinterSettings::manufacturer, "manufacturer name"},
    {"--model", &PrinterSettings::model, "printer model"},
    {"--serial-number", &PrinterSettings::serialNumber, "printer serial number"},
};

// "on (开)": the command-line name, with the form's text where it says more.
std::string ItemName(const ListItem& item) {
    if (item.alias.empty() || item.alias == item.text) {
        return std::string(item.text);
    }
    return std::string(item.alias) + " (" + std::string(item.text) + ")";
}

// "0 off | 1 on": the items with the numbers the option takes.
std::string Choices(const SettingList& list) {
    std::string out;
    for (std::size_t n = 0; n < list.items.size(); ++n) {
        out += (n == 0 ? "" : " | ") + std::to_string(n) + " " + ItemName(list.items[n]);
    }
    return out;
}

// The code pages by number and name, six to a line; `tervan-cli list code-pages` has the rest.
std::string CodePageTable() {
    std::string out = "Code pages (--code-page N|NAME):";
    const auto& items = Lists::kCodePage.items;
    for (std::size_t n = 0; n < items.size(); ++n) {
        const std::string name(items[n].alias.empty() ? items[n].text : items[n].alias);
        std::string cell = (n < 10 ? "   " : "  ") + std::to_string(n) + " " + name;
        cell.resize(std::max<std::size_t>(cell.size(), 18), ' ');
        out += (n % 6 == 0 ? "\n" : "") + cell;
    }
    return out;
}

std::string Allowed(const SettingList& list) {
    const std::string range = "0.." + std::to_string(list.items.size() - 1);
    if (list.items.front().alias.empty() && list.items.front().text == "0") {
        return range; // the items are the numbers themselves
    }
    if (list.items.size() > 12) {
        return range + " or a name from tervan-cli list " + std::string(list.name);
    }
    return Choices(list);
}

struct Inputs {
    LinkOptions link;
    std::string values[std::size(kListSettings)];
    CLI::Option* given[std::size(kListSettings)] = {};
    std::string font;
    CLI::Option* fontGiven = nullptr;
    bool dotMatrix = false;
    std::string texts[std::size(kIdentityTexts)];
    CLI::Option* textGiven[std::size(kIdentityTexts)] = {};
    std::string btName, btPassword, serialFormat, markStart, markTear, buzzer;
    CLI::Option* btNameGiven = nullptr;
    CLI::Option* btPasswordGiven = nullptr;
    CLI::Option* serialFormatGiven = nullptr;
    CLI::Option* markStartGiven = nullptr;
    CLI::Option* markTearGiven = nullptr;
    CLI::Option* buzzerGiven = nullptr;
};

using Problem = std::optional<std::string>;

Problem ResolveList(const char* flag, const SettingList& list, const std::string& value,
                    std::optional<std::uint8_t>& out) {
    const auto n = ResolveItem(list, value);
    if (!n) {
        return std::string(flag) + ": '" + value + "' is not allowed; use " + Allowed(list);
    }
    out = static_cast<std::uint8_t>(*n);
    return std::nullopt;
}

Problem ParseText(const char* flag, const std::string& value, std::u16string& out) {
    const auto text = Utf8ToUtf16(value);
    if (!text) {
        return std::string(flag) + ": not valid UTF-8 text";
    }
    out = *text;
    return std::nullopt;
}

// An option's text as given, marked as given.
Problem TakeText(const CLI::Option* option, const std::string& value, bool& given,
                 std::u16string& out) {
    if (option->count() == 0) {
        return std::nullopt;
    }
    given = true;
    return ParseText(option->get_name().c_str(), value, out);
}

Problem ParseSerialFormat(const std::string& value, SetupCommandTable::SerialFormat& out) {
    const std::string usage = "--serial-format: '" + value +
                              "' is not BAUD,PARITY,BITS,FLOW (BAUD 1200..115200, PARITY "
                              "none|odd|even, BITS 7|8, FLOW xon-xoff|rts-cts), e.g. "
                              "115200,even,7,xon-xoff";
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t comma = value.find(',', start);
        parts.push_back(
            value.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? value.size() + 1 : comma + 1;
    }
    if (parts.size() != 4) {
        return usage;
    }
    const SettingList* lists[] = {&Lists::kBaudRate, &Lists::kParity, &Lists::kDataBits,
                                  &Lists::kFlowControl};
    std::uint8_t indices[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
        // By name only: "7" must mean seven data bits, not the eighth item.
        bool found = false;
        for (std::size_t n = 0; n < lists[i]->items.size(); ++n) {
            const ListItem& item = lists[i]->items[n];
            if (parts[i] == item.text || (!item.alias.empty() && parts[i] == item.alias)) {
                indices[i] = static_cast<std::uint8_t>(n);
                found = true;
            }
        }
        if (!found) {
            return usage;
        }
    }
    out = {indices[0], indices[1], indices[2], indices[3]};
    return std::nullopt;
}

Problem ParseBuzzer(const std::string& value, BuzzerChoice& out) {
    const std::size_t comma = value.find(',');
    const std::string error = value.substr(0, comma);
    const std::string cut = comma == std::string::npos ? "" : value.substr(comma + 1);
    const auto onOff = [](const std::string& v) -> std::optional<bool> {
        if (v == "on") {
            return true;
        }
        if (v == "off") {
            return false;
        }
        return std::nullopt;
    };
    const auto onError = onOff(error);
    const auto onCut = onOff(cut);
    if (!onError || !onCut) {
        return "--buzzer: '" + value + "' is not ERROR,CUT with each on or off, e.g. on,off";
    }
    out = {*onError, *onCut};
    return std::nullopt;
}

Problem BuildSettings(const Inputs& in, PrinterSettings& s) {
    for (std::size_t i = 0; i < std::size(kListSettings); ++i) {
        const ListSetting& setting = kListSettings[i];
        if (in.given[i]->count() > 0) {
            if (auto p = ResolveList(setting.flag, setting.list, in.values[i], s.*setting.field)) {
                return p;
            }
        }
    }
    s.dotMatrixFonts = in.dotMatrix;
    if (in.fontGiven->count() > 0) {
        const SettingList& fonts = in.dotMatrix ? Lists::kFontDotMatrix : Lists::kFontThermal;
        if (auto p = ResolveList("--font", fonts, in.font, s.font)) {
            return p;
        }
    }
    if (in.serialFormatGiven->count() > 0) {
        s.serialFormat.emplace();
        if (auto p = ParseSerialFormat(in.serialFormat, *s.serialFormat)) {
            return p;
        }
    }
    for (std::size_t i = 0; i < std::size(kIdentityTexts); ++i) {
        if (in.textGiven[i]->count() > 0) {
            TextSetting& text = s.*kIdentityTexts[i].field;
            text.checked = true;
            if (auto p = ParseText(kIdentityTexts[i].flag, in.texts[i], text.text)) {
                return p;
            }
        }
    }
    // Limits and refusals are the core's input check, once every option is read.
    if (auto p = TakeText(in.btNameGiven, in.btName, s.btName.checked, s.btName.text)) {
        return p;
    }
    if (auto p =
            TakeText(in.btPasswordGiven, in.btPassword, s.btPassword.checked, s.btPassword.text)) {
        return p;
    }
    if (auto p = TakeText(in.markStartGiven, in.markStart, s.markStart.set, s.markStart.text)) {
        return p;
    }
    if (auto p = TakeText(in.markTearGiven, in.markTear, s.markTear.set, s.markTear.text)) {
        return p;
    }
    if (in.buzzerGiven->count() > 0) {
        s.buzzer.emplace();
        if (auto p = ParseBuzzer(in.buzzer, *s.buzzer)) {
            return p;
        }
    }
    return std::nullopt;
}

int RunApply(const Inputs& in) {
    PrinterSettings settings;
    if (const Problem problem = BuildSettings(in, settings)) {
        PrintText(*problem);
        return kExitBadInput;
    }
    const AnsiCodePage codePage = SystemAnsiCodePage();
    if (const auto problem = CheckSettings(settings, codePage, InputRules::CommandLine)) {
        PrintText(InputProblemText(*problem, settings, codePage));
        return kExitBadInput;
    }
    return RunOnLink(in.link, [&](const Session& session) {
        const ApplyOutcome outcome = ApplySettings(settings, codePage, session.link, session.isUsb,
                                                   session.pause, session.stop);
        PrintText(LoadString(VerdictText(outcome)));
        return outcome == ApplyOutcome::Success ? kExitDone : kExitFailed;
    });
}

} // namespace

std::function<int()> AddApplyCommand(CLI::App& app) {
    auto in = std::make_shared<Inputs>();
    CLI::App* cmd = app.add_subcommand(
        "apply", "Put the printer into setup mode, send the settings given, leave setup mode. "
                 "A setting left out is not changed.");
    AddLinkOptions(*cmd, in->link);
    cmd->footer("Texts may hold no control characters, and every character must exist in the "
                "code page of the locale or of TERVAN_ANSI_CODEPAGE.\n\n" +
                CodePageTable());
    for (std::size_t i = 0; i < std::size(kListSettings); ++i) {
        const ListSetting& setting = kListSettings[i];
        in->given[i] = cmd->add_option(setting.flag, in->values[i], Allowed(setting.list))
                           ->group("Settings")
                           ->type_name("N|NAME");
    }
    in->fontGiven = cmd->add_option("--font", in->font,
                                    "thermal: " + Choices(Lists::kFontThermal) +
                                        "; with --dot-matrix: " + Choices(Lists::kFontDotMatrix))
                        ->group("Settings")
                        ->type_name("N|NAME");
    cmd->add_flag("--dot-matrix", in->dotMatrix, "--font names the dot-matrix fonts")
        ->group("Settings");
    in->serialFormatGiven =
        cmd->add_option("--serial-format", in->serialFormat,
                        "the printer's own serial port: BAUD,PARITY,BITS,FLOW, e.g. "
                        "115200,even,7,xon-xoff")
            ->group("Settings");
    for (std::size_t i = 0; i < std::size(kIdentityTexts); ++i) {
        in->textGiven[i] =
            cmd->add_option(kIdentityTexts[i].flag, in->texts[i],
                            std::string(kIdentityTexts[i].help) + ", at most 259 characters")
                ->group("Settings")
                ->type_name("TEXT");
    }
    in->btNameGiven = cmd->add_option("--bt-name", in->btName,
                                      "Bluetooth name, at most 30 bytes in the code page")
                          ->group("Settings")
                          ->type_name("TEXT");
    in->btPasswordGiven =
        cmd->add_option("--bt-password", in->btPassword, "Bluetooth PIN, exactly 4 digits")
            ->group("Settings")
            ->type_name("DDDD");
    in->markStartGiven = cmd->add_option("--mark-start", in->markStart,
                                         "black-mark print start offset in dots, -65535..65535 "
                                         "(positive feeds forward, negative backward)")
                             ->group("Settings")
                             ->type_name("N");
    in->markTearGiven =
        cmd->add_option("--mark-tear", in->markTear, "black-mark tear-off offset, -65535..65535")
            ->group("Settings")
            ->type_name("N");
    in->buzzerGiven = cmd->add_option("--buzzer", in->buzzer,
                                      "ERROR,CUT: buzzer on error and at cut, each on|off")
                          ->group("Settings")
                          ->type_name("on|off,on|off");
    return [cmd, in] { return cmd->parsed() ? RunApply(*in) : -1; };
}

} // namespace tervan::cli
