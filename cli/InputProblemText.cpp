#include "cli/InputProblemText.h"

#include "protocol/Utf.h"

namespace tervan::cli {

namespace {

const OffsetSetting& OffsetOf(const PrinterSettings& settings, Setting setting) {
    return setting == Setting::MarkStart ? settings.markStart : settings.markTear;
}

std::string CodePageText(ProblemKind kind, const AnsiCodePage& codePage) {
    const std::string what = codePage.fromEnvironment
                                 ? "TERVAN_ANSI_CODEPAGE: '" + codePage.name + "'"
                                 : "The locale's code page '" + codePage.name + "'";
    const std::string choose = "; set TERVAN_ANSI_CODEPAGE to a code page such as 936, 1252 or "
                               "65001, or to a name such as GB18030";
    if (kind == ProblemKind::CodePageUnknown) {
        return what + " is not a code page this system can convert to" + choose;
    }
    return what +
           " does not write ASCII as single bytes, so the printer could not read texts "
           "in it" +
           choose;
}

} // namespace

std::string InputProblemText(const InputProblem& problem, const PrinterSettings& settings,
                             const AnsiCodePage& codePage) {
    const std::string flag(NameOf(problem.setting).flag);
    switch (problem.kind) {
    case ProblemKind::OffsetOutOfRange:
    case ProblemKind::UnmappableCharacter:
    case ProblemKind::ControlCharacter:
        return ProblemText(problem, flag, UiLanguage());
    case ProblemKind::EmptyText:
        return flag + ": empty; leave the option out to keep the printer's value";
    case ProblemKind::TextTooLong:
        return flag + ": " + std::to_string(problem.count) + " characters; at most 259 are allowed";
    case ProblemKind::BtNameTooLong:
        return flag + ": " + std::to_string(problem.count) + " bytes in code page " +
               problem.codePage +
               "; at most 30 bytes (15 Chinese characters) and 40 characters are allowed";
    case ProblemKind::BtPasswordNotFourDigits:
        return flag + ": '" + Utf16ToUtf8(TextOf(settings, problem.setting)) +
               "' is not exactly 4 digits";
    case ProblemKind::OffsetNotWholeNumber:
        return flag + ": '" + Utf16ToUtf8(OffsetOf(settings, problem.setting).text) +
               "' is not a whole number of dots from -65535 to 65535";
    case ProblemKind::CodePageUnknown:
    case ProblemKind::CodePageNotAscii:
        return CodePageText(problem.kind, codePage);
    }
    return flag;
}

} // namespace tervan::cli
