#include "form/ControlIds.h"
#include "form/PreviewForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

namespace tervan {
namespace {

TEST(PreviewRules, ChoicesGiveTheCommandLinesOptions) {
    using enum DitherMethod;
    const struct {
        PreviewChoices choices;
        std::optional<int> width; // none: no conversion
        DitherMethod method;
        bool invert;
        bool upscale;
    } cases[] = {
        {{}, 576, FloydSteinberg, false, false}, // --paper 72
        {{.paper = 0, .dither = 1, .invert = true}, 384, Atkinson, true, false},
        {{.paper = 3, .dither = 3, .upscale = true}, 640, Threshold, false, true},
        {{.paper = kOtherWidth, .width = u"1000"}, 1000, FloydSteinberg, false, false},
        {{.paper = kOtherWidth, .width = u"65535"}, 65535, FloydSteinberg, false, false},
        {{.paper = kOtherWidth, .width = u"65536"}, {}, {}, false, false},
        {{.paper = kOtherWidth, .width = u"12a"}, {}, {}, false, false},
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
    EXPECT_EQ(ScaleDots(576, 300, 600, 450), (DotsScale{576, 300}));
    EXPECT_EQ(ScaleDots(1000, 100, 500, 400), (DotsScale{500, 50}));
    EXPECT_EQ(ScaleDots(100, 1000, 400, 500), (DotsScale{50, 500}));
}

// What the form shows once its conversion has ended: a slow one comes through Refresh.
FormChanges Settled(PreviewForm& form, FormChanges changes) {
    const auto dots = [&] {
        return std::ranges::find(changes.controls, Ctl::PreviewDots, &ControlChange::id);
    };
    for (int wait = 0; wait < 1000 && dots() == changes.controls.end(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        changes = form.Refresh();
    }
    EXPECT_NE(dots(), changes.controls.end());
    return changes;
}

std::optional<bool> OkIn(const FormChanges& changes) {
    const auto ok = std::ranges::find(changes.controls, Ctl::IdOk, &ControlChange::id);
    return ok != changes.controls.end() ? ok->enabled : std::nullopt;
}

// A black picture 600 x 1000: too tall for a slot at 72 mm, fits at 58 mm; OK (Enter too) ends
// the preview only while what it shows fits.
TEST(PreviewForm, OkOnlyWhileTheDotsShownFit) {
    const GreyPicture picture{600, 1000, Levels(600 * 1000, 0)};
    PreviewForm form(picture, 3, Language::Chinese);
    const auto choose = [&](const Notification& n) { return Settled(form, form.Dispatch(n)); };
    EXPECT_EQ(OkIn(Settled(form, form.Opening())), false);
    EXPECT_FALSE(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end);
    EXPECT_EQ(OkIn(choose({Ctl::PaperList, Notify::SelChange, 0})), true);
    EXPECT_EQ(OkIn(choose({Ctl::PaperList, Notify::SelChange, kOtherWidth})), true);
    EXPECT_EQ(OkIn(choose({Ctl::DotsWidth, Notify::EditChange, u"38x"})), false);
    EXPECT_FALSE(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end);
    EXPECT_EQ(OkIn(choose({Ctl::DotsWidth, Notify::EditChange, u"8"})), true);
    EXPECT_EQ(form.Dispatch({Ctl::IdOk, Notify::Clicked, {}}).end, Ctl::IdOk);
    ASSERT_NE(form.Accepted(), nullptr);
    EXPECT_EQ(form.Accepted()->rows.stride, 4);
    EXPECT_EQ(form.Accepted()->rows.height, 13);
    EXPECT_EQ(form.Accepted()->rows.pixels.front(), 0xFF);
}

} // namespace
} // namespace tervan
