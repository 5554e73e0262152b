#pragma once

#include "form/BackgroundConversion.h"
#include "form/DialogForm.h"
#include "form/PreviewRules.h"

#include <cstdint>
#include <memory>

namespace tervan {

// The preview of a picture chosen for a logo: its dots as they will print, the paper, the dither
// and invert, the size and whether it fits the slot, redrawn as the choices change. OK (only while
// what is shown fits) ends it with those dots; Cancel, Esc and the close box end it with none.
class PreviewForm : public DialogForm {
public:
    // `picture`, decoded once, must outlive the form.
    PreviewForm(const GreyPicture& picture, std::uint8_t slot, Language language);

    const DialogTemplate& Template() const override { return PreviewDialogTemplate(m_language); }
    FormChanges Opening() override;
    FormChanges Dispatch(const Notification& notification) override;
    void SetRefresh(std::function<void()> refresh) override;
    FormChanges Refresh() override;

    // The dots OK stored; null unless the preview ended with OK.
    const std::shared_ptr<const LogoDots>& Accepted() const { return m_accepted; }

private:
    FormChanges Convert();
    FormChanges Show(ConvertResult result);
    FormChanges Show(const PreviewVerdict& verdict, std::shared_ptr<const LogoDots> dots);

    std::uint8_t m_slot;
    Language m_language;
    PreviewChoices m_choices;
    std::shared_ptr<const LogoDots> m_shown; // what OK would store; null while OK is disabled
    std::shared_ptr<const LogoDots> m_accepted;
    BackgroundConversion m_conversion; // last: its thread goes before what it might call
};

} // namespace tervan
