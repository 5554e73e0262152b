#include "form/PreviewRules.h"

#include "bitmap/PictureFit.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace tervan {

namespace {

enum class PreviewString {
    OtherWidth,
    Ordered,
    Threshold,
    Size,
    Stores,
    OverSlot,
    BadWidth,
    Converting,
    Reading,
};

constexpr std::array<TextEntry<PreviewString>, 9> kPreviewStrings{{
    {PreviewString::OtherWidth, "其他宽度", "Other width"},
    {PreviewString::Ordered, "有序(Bayer 8x8)", "Ordered (Bayer 8x8)"},
    {PreviewString::Threshold, "阈值", "Threshold"},
    {PreviewString::Size, "%1 x %2 点，每行 %3 字节，共 %4 字节（上限 65536）",
     "%1 x %2 dots, %3 bytes a row, %4 bytes of at most 65536"},
    {PreviewString::Stores, "确定后存入位图槽 %1", "OK stores it in slot %1"},
    {PreviewString::OverSlot, "超出位图槽：宽 %1 点时最多 %2 行，请减小宽度",
     "Too large for a slot: at %1 dots wide at most %2 rows fit, please choose a smaller width"},
    {PreviewString::BadWidth, "宽度应为 1 到 65535 之间的整数",
     "The width should be a whole number from 1 to 65535"},
    {PreviewString::Converting, "正在转换…", "Converting…"},
    {PreviewString::Reading, "正在读取图片…", "Reading the picture…"},
}};

std::string Text(PreviewString id, Language language) {
    return std::string(LookUpText(kPreviewStrings, id, language));
}

constexpr std::array<int, kPaperCount> kPapers{58, 72, 75, 80};

std::optional<int> WholeDots(const std::u16string& text) {
    std::string digits;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        digits += static_cast<char>(c);
    }
    int value = 0;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end || value < 1 ||
        value > kMaxLogoDots) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int> PaperListDots(int index) {
    if (index < 0 || index >= kPaperCount) {
        return std::nullopt;
    }
    return PaperDots(kPapers[static_cast<std::size_t>(index)]);
}

std::optional<ConvertOptions> OptionsOf(const PreviewChoices& choices) {
    ConvertOptions options;
    options.fit.width =
        choices.paper == kOtherWidth ? WholeDots(choices.width) : PaperListDots(choices.paper);
    if (!options.fit.width) {
        return std::nullopt;
    }
    options.fit.upscale = choices.upscale;
    options.dither.method = static_cast<DitherMethod>(std::clamp(choices.dither, 0, 3));
    options.dither.invert = choices.invert;
    return options;
}

std::vector<std::string> PaperItems(Language language) {
    const std::string_view dots = language == Language::Chinese ? " 点)" : " dots)";
    std::vector<std::string> items;
    for (int i = 0; i < kPaperCount; ++i) {
        items.push_back(std::to_string(kPapers[static_cast<std::size_t>(i)]) + " mm (" +
                        std::to_string(*PaperListDots(i)) + std::string(dots));
    }
    items.push_back(Text(PreviewString::OtherWidth, language));
    return items;
}

std::vector<std::string> DitherItems(Language language) {
    return {"Floyd-Steinberg", "Atkinson", Text(PreviewString::Ordered, language),
            Text(PreviewString::Threshold, language)};
}

PreviewVerdict VerdictOf(const ConvertResult& result, std::uint8_t slot, Language language) {
    PreviewVerdict view;
    const PictureSize size = result.size;
    view.size = FormatString(Text(PreviewString::Size, language),
                             {std::to_string(size.width), std::to_string(size.height),
                              std::to_string(BmpStride(size.width)),
                              std::to_string(LogoBmpSize(size.width, size.height))});
    switch (result.outcome) {
    case ConvertOutcome::Converted:
        view.verdict = FormatString(Text(PreviewString::Stores, language), {std::to_string(slot)});
        view.okEnabled = true;
        break;
    case ConvertOutcome::OverSlot:
        view.verdict =
            FormatString(Text(PreviewString::OverSlot, language),
                         {std::to_string(size.width), std::to_string(result.largestHeight)});
        break;
    case ConvertOutcome::Failed:
        view.verdict = std::string(LoadString(StringId::Failure, language));
        break;
    }
    return view;
}

PreviewVerdict BadWidthVerdict(Language language) {
    return {.verdict = Text(PreviewString::BadWidth, language)};
}

PreviewVerdict ConvertingVerdict(Language language) {
    return {.verdict = Text(PreviewString::Converting, language)};
}

DotsScale ScaleDots(int width, int height, int areaWidth, int areaHeight) {
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0) {
        return {};
    }
    if (width <= areaWidth && height <= areaHeight) {
        return {width, height};
    }
    // The side that runs out of room first decides the scale.
    const std::int64_t w = width;
    const std::int64_t h = height;
    if (std::int64_t{areaWidth} * h <= std::int64_t{areaHeight} * w) {
        return {areaWidth, static_cast<int>(std::max<std::int64_t>(1, h * areaWidth / w))};
    }
    return {static_cast<int>(std::max<std::int64_t>(1, w * areaHeight / h)), areaHeight};
}

std::string ReadingPictureText(Language language) {
    return Text(PreviewString::Reading, language);
}

} // namespace tervan
