#pragma once

#include "bitmap/PictureConversion.h"
#include "protocol/Strings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The rules of the preview a picture gets before it is stored as a logo: what its choices ask of
// the conversion, and what the result says.
namespace tervan {

// The paper list: the four papers, then a width in dots of the user's own.
inline constexpr int kPaperCount = 4;
inline constexpr int kOtherWidth = kPaperCount;
inline constexpr int kDefaultPaper = 1; // 72 mm, the width the command line fits to by default
// The widths a logo may be asked for, as the command line's --width takes them.
inline constexpr int kMaxLogoDots = 65535;

// The choices as the preview's controls hold them.
struct PreviewChoices {
    int paper = kDefaultPaper;
    std::u16string width = {}; // read when `paper` is kOtherWidth
    int dither = 0;            // in the order of DitherMethod
    bool invert = false;
    bool upscale = false;
};

// The options the command line's --paper (or --width), --dither, --invert and --upscale give for
// the same choices; none for a width that is no whole number from 1 to kMaxLogoDots.
std::optional<ConvertOptions> OptionsOf(const PreviewChoices& choices);

// The dots of paper `index`; none for kOtherWidth.
std::optional<int> PaperListDots(int index);

std::vector<std::string> PaperItems(Language language);
std::vector<std::string> DitherItems(Language language);

// What the preview says of a conversion, and whether OK may store it in `slot`.
struct PreviewVerdict {
    std::string size = {};    // the dots, the bytes of a row and of the slot
    std::string verdict = {}; // where OK stores it, or the largest height that fits
    bool okEnabled = false;

    bool operator==(const PreviewVerdict&) const = default;
};

PreviewVerdict VerdictOf(const ConvertResult& result, std::uint8_t slot, Language language);
// For choices that ask for no width the conversion takes.
PreviewVerdict BadWidthVerdict(Language language);
// While the conversion runs longer than a frame.
PreviewVerdict ConvertingVerdict(Language language);

// Where `width` x `height` dots are drawn in an area of `areaWidth` x `areaHeight` pixels: one
// pixel a dot when they fit, else scaled down as a whole, at least one pixel each way.
struct DotsScale {
    int width = 0;
    int height = 0;

    bool operator==(const DotsScale&) const = default;
};
DotsScale ScaleDots(int width, int height, int areaWidth, int areaHeight);

// The text of the progress window while a picture is read.
std::string ReadingPictureText(Language language);

} // namespace tervan
