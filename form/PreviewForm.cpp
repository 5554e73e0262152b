#include "form/PreviewForm.h"

#include "form/ControlIds.h"

namespace tervan {

namespace {

// A conversion that ends within a frame is shown at once, without a "converting" flicker.
constexpr std::chrono::milliseconds kFrame{16};

std::u16string Digits(int value) {
    const std::string text = std::to_string(value);
    return {text.begin(), text.end()};
}

} // namespace

PreviewForm::PreviewForm(const GreyPicture& picture, std::uint8_t slot, Language language)
    : m_slot(slot), m_language(language), m_conversion(picture) {
    m_choices.width = Digits(*PaperListDots(kDefaultPaper));
}

FormChanges PreviewForm::Opening() {
    FormChanges changes = Convert();
    changes.controls.insert(
        changes.controls.begin(),
        {{.id = Ctl::PaperList, .items = PaperItems(m_language), .selection = m_choices.paper},
         {.id = Ctl::DotsWidth, .enabled = false, .text = m_choices.width},
         {.id = Ctl::DitherList, .items = DitherItems(m_language), .selection = m_choices.dither}});
    return changes;
}

FormChanges PreviewForm::Dispatch(const Notification& notification) {
    switch (notification.kind) {
    case Notify::Close:
        return {.end = Ctl::IdCancel};
    case Notify::Clicked:
        if (notification.id == Ctl::IdCancel) {
            return {.end = Ctl::IdCancel};
        }
        // Enter reaches here even while OK is disabled.
        if (notification.id == Ctl::IdOk && m_shown) {
            m_accepted = m_shown;
            return {.end = Ctl::IdOk};
        }
        return {};
    case Notify::SelChange:
        if (notification.id == Ctl::PaperList) {
            m_choices.paper = std::get<int>(notification.value);
            // A paper shows its width; the width is the user's own only for "other".
            if (const auto dots = PaperListDots(m_choices.paper)) {
                m_choices.width = Digits(*dots);
            }
            FormChanges changes = Convert();
            changes.controls.push_back({.id = Ctl::DotsWidth,
                                        .enabled = m_choices.paper == kOtherWidth,
                                        .text = m_choices.width});
            return changes;
        }
        if (notification.id == Ctl::DitherList) {
            m_choices.dither = std::get<int>(notification.value);
            return Convert();
        }
        return {};
    case Notify::CheckChange:
        (notification.id == Ctl::InvertCheck ? m_choices.invert : m_choices.upscale) =
            std::get<bool>(notification.value);
        return Convert();
    case Notify::EditChange:
        if (m_choices.paper != kOtherWidth) {
            return {}; // a paper's width, set by the form itself
        }
        m_choices.width = std::get<std::u16string>(notification.value);
        return Convert();
    }
    return {};
}

void PreviewForm::SetRefresh(std::function<void()> refresh) {
    m_conversion.SetDone(std::move(refresh));
}

FormChanges PreviewForm::Refresh() {
    std::optional<ConvertResult> result = m_conversion.Take();
    return result ? Show(std::move(*result)) : FormChanges{};
}

FormChanges PreviewForm::Convert() {
    m_shown.reset();
    const std::optional<ConvertOptions> options = OptionsOf(m_choices);
    if (!options) {
        return Show(BadWidthVerdict(m_language), nullptr);
    }
    m_conversion.Ask(*options);
    if (std::optional<ConvertResult> result = m_conversion.Take(kFrame)) {
        return Show(std::move(*result));
    }
    // The dots of the last choices stay until the new ones come through Refresh.
    FormChanges changes = Show(ConvertingVerdict(m_language), nullptr);
    changes.controls.erase(changes.controls.begin());
    return changes;
}

FormChanges PreviewForm::Show(ConvertResult result) {
    const PreviewVerdict verdict = VerdictOf(result, m_slot, m_language);
    std::shared_ptr<const LogoDots> dots;
    if (result.outcome == ConvertOutcome::Converted) {
        dots = std::make_shared<const LogoDots>(std::move(result.dots));
    }
    m_shown = verdict.okEnabled ? dots : nullptr;
    return Show(verdict, std::move(dots));
}

FormChanges PreviewForm::Show(const PreviewVerdict& verdict, std::shared_ptr<const LogoDots> dots) {
    // Filled in place: moving whole changes in here trips a false alarm of GCC's flow analysis.
    FormChanges changes;
    changes.controls.resize(4);
    changes.controls[0].id = Ctl::PreviewDots;
    changes.controls[0].dots = std::move(dots);
    changes.controls[1].id = Ctl::SizeText;
    changes.controls[1].caption = verdict.size;
    changes.controls[2].id = Ctl::VerdictText;
    changes.controls[2].caption = verdict.verdict;
    changes.controls[3].id = Ctl::IdOk;
    changes.controls[3].enabled = verdict.okEnabled;
    return changes;
}

} // namespace tervan
