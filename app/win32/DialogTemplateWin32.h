#pragma once

#include "form/DialogTemplate.h"

#include <windows.h>

#include <string_view>
#include <vector>

// Dialog templates built in memory (DLGTEMPLATEEX), so the dialogs come from the form's own
// description at run time rather than from a second copy in a resource script.
namespace tervan {

// A control's window class: one of the system's predefined atoms, or a registered class name.
struct ControlClass {
    WORD atom = 0;               // 0x0080 button, 0x0081 edit, 0x0082 static, 0x0085 combo box
    std::wstring_view name = {}; // used when atom is 0
};

// Writes a DLGTEMPLATEEX: the header first, then one item per control, each DWORD-aligned.
class TemplateWriter {
public:
    TemplateWriter(DWORD style, DWORD exStyle, DialogRect rect, std::wstring_view caption,
                   std::wstring_view fontName, int pointSize);

    // `title` empty and `iconResource` non-zero: the control shows that icon resource.
    void AddControl(int id, ControlClass cls, DWORD style, DWORD exStyle, DialogRect rect,
                    std::wstring_view title, WORD iconResource = 0);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_words.data()); }

private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value);
    void String(std::wstring_view text);
    void AlignToDword();

    std::vector<WORD> m_words;
    std::size_t m_countAt = 0; // where the header keeps the number of items
    std::size_t m_count = 0;
};

// The whole dialog: the template's styles, its font, and every control in template order (a
// label right before the control it names, so screen readers name the control by it).
TemplateWriter BuildDialogTemplate(const DialogTemplate& dialog, WORD iconResource);

} // namespace tervan
