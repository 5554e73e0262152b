#include "form/ControlIds.h"
#include "form/PreviewForm.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

TEST(PreviewRules, ChoicesGiveTheCommandLinesOptions) {
    const struct {
        PreviewChoices choices;
        std::optional<int> width; // none: no conversion
        DitherMethod method;
        bool invert;
        bool upscale;
    } cases[] = {
        {{}, 576, DitherMethod::FloydSteinberg, false, false}, // --paper 72
        {{.paper = 0, .dither = 1, .invert = true}, 384, DitherMethod::Atkinson, true, false},
        {{.paper = 2, .dither = 2}, 600, DitherMethod::Ordered, false, false},
        {{.paper = 3, .dither = 3, .upscale = true}, 640, DitherMethod::Threshold, false, true},
        {{.paper = kOtherWidth, .width = u"1000"},
         1000,
         DitherMethod::FloydSteinberg,
         false,
         false},
        {{.paper = kOtherWidth, .width = u"65535"},
         65535,
         DitherMethod::FloydSteinberg,
         false,
         false},
        {{.paper = kOtherWidth, .width = u"65536"}, {}, {}, false, false},
        {{.paper = kOtherWidth, .width = u"0"}, {}, {}, false, false},
        {{.paper = kOtherWidth, .width = u"12a"}, {}, {}, false, false},
        {{.paper = kOtherWidth, .width = u""}, {}, {}, false, false},
    };
    for (const auto& c : cases) {
        const auto options = OptionsOf(c.choices);
        ASSERT_EQ(options.has_value(), c.width.has_value());
        if (options) {
            EXPECT_EQ(options->fit.width, c.width);
            EXPECT_EQ(options->fit.upscale, c.upscale);
            EXPECT_EQ(options->dither.method, c.method);
            EXPECT_EQ(options->dither.invert, c.invert);
            EXPECT_FALSE(options->dither.level.has_value());
        }
    }
}

TEST(PreviewRules, VerdictSaysWhatFitsTheSlot) {
    ConvertResult fits;
    fits.outcome = ConvertOutcome::Converted;
    fits.size = {576, 300};
    ConvertResult over;
    over.outcome = ConvertOutcome::OverSlot;
    over.size = {576, 960};
    over.largestHeight = 909;
    EXPECT_EQ(VerdictOf(fits, 3, Language::Chinese),
              (PreviewVerdict{"576 x 300 点，每行 72 字节，共 21662 字节（上限 65536）",
                              "确定后存入位图槽 3", true}));
    EXPECT_EQ(VerdictOf(over, 0, Language::English),
              (PreviewVerdict{"576 x 960 dots, 72 bytes a row, 69182 bytes of at most 65536",
                              "Too large for a slot: at 576 dots wide at most 909 rows fit, please "
                              "choose a smaller width",
                              false}));
}

TEST(PreviewRules, DotsOneToOneOrScaledDownWhole) {
    const struct {
        int width, height, areaWidth, areaHeight;
        DotsScale drawn;
    } cases[] = {
        {576, 300, 600, 450, {576, 300}}, {1000, 100, 500, 400, {500, 50}},
        {100, 1000, 400, 500, {50, 500}}, {3000, 1, 500, 400, {500, 1}},
        {0, 0, 500, 400, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleDots(c.width, c.height, c.areaWidth, c.areaHeight), c.drawn) << c.width;
    }
}

const LogoDots* DotsIn(const FormChanges& changes) {
    for (const ControlChange& change : changes.controls) {
        if (change.id == Ctl::PreviewDots && change.dots) {
            return change.dots->get();
        }
    }
    return nullptr;
}

std::optional<bool> OkIn(const FormChanges& changes) {
    for (const ControlChange& change : changes.controls) {
        if (change.id == Ctl::IdOk) {
            return change.enabled;
        }
    }
    return std::nullopt;
}

// A black picture 600 x 1000: too tall for a slot at 72 mm, fits at 58 mm; OK (Enter too) ends
// the preview only while what it shows fits.
TEST(PreviewForm, OkOnlyWhileTheDotsShownFit) {
    const GreyPicture picture{600, 1000, Levels(600 * 1000, 0)};
    PreviewForm form(picture, 3, Language::Chinese);
    const FormChanges opening = form.Opening();
    EXPECT_EQ(OkIn(opening), false);
    EXPECT_EQ(DotsIn(opening), nullptr);
    EXPECT_FALSE(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end);

    const FormChanges narrower = form.Dispatch({Ctl::PaperList, Notify::SelChange, 0});
    ASSERT_NE(DotsIn(narrower), nullptr);
    EXPECT_EQ(DotsIn(narrower)->width, 384);
    EXPECT_EQ(DotsIn(narrower)->rows.height, 640);
    EXPECT_EQ(OkIn(narrower), true);

    EXPECT_EQ(OkIn(form.Dispatch({Ctl::PaperList, Notify::SelChange, kOtherWidth})), true);
    EXPECT_EQ(OkIn(form.Dispatch({Ctl::DotsWidth, Notify::EditChange, u"38x"})), false);
    EXPECT_FALSE(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end);
    EXPECT_EQ(OkIn(form.Dispatch({Ctl::DotsWidth, Notify::EditChange, u"8"})), true);
    EXPECT_EQ(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end, Ctl::IdOk);
    ASSERT_NE(form.Accepted(), nullptr);
    EXPECT_EQ(form.Accepted()->rows.stride, 4);
    EXPECT_EQ(form.Accepted()->rows.height, 13);
    EXPECT_EQ(form.Accepted()->rows.pixels.front(), 0xFF);
}

} // namespace
} // namespace tervan
