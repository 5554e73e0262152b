#include "app/win32/DialogTemplateWin32.h"

#include "app/win32/DotsControlWin32.h"
#include "base/WideTextWin32.h"

#include <commctrl.h>

#include <algorithm>

namespace tervan {

namespace {

constexpr ControlClass kButtonClass{0x0080};
constexpr ControlClass kEditClass{0x0081};
constexpr ControlClass kStaticClass{0x0082};
constexpr ControlClass kComboBoxClass{0x0085};

// The class and styles a control of the form takes as a Win32 control.
struct Win32Control {
    ControlClass cls;
    DWORD style = 0;
    DWORD exStyle = 0;
};

// A dialog manager's FW_DONTCARE weight and DEFAULT_CHARSET: the face decides.
constexpr WORD kFontWeight = 0;
constexpr BYTE kFontCharset = DEFAULT_CHARSET;

// Each visible line of an open drop-down list, and at most this many of them before it scrolls.
constexpr int kListItemHeight = 10;
constexpr int kVisibleListItems = 12;

std::size_t ItemCount(const ControlTemplate& control) {
    switch (control.itemSource) {
    case ItemSource::SettingList:
        return control.list->items.size() + (control.list->hasNoChange ? 1 : 0);
    case ItemSource::Ports:
        return 20; // "USB" and COM1 to COM19
    case ItemSource::Form:
        return static_cast<std::size_t>(control.formItems);
    case ItemSource::None:
        break;
    }
    return 0;
}

DWORD DialogStyleOf(const DialogStyle& style) {
    // Centred on the screen or over the owner, as a user expects a dialog to open.
    DWORD result = DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION;
    result |= style.systemMenu ? WS_SYSMENU : 0;
    result |= style.sizingBorder ? WS_THICKFRAME : DS_MODALFRAME;
    result |= style.minimizeBox ? WS_MINIMIZEBOX : 0;
    result |= style.maximizeBox ? WS_MAXIMIZEBOX : 0;
    return result;
}

DWORD DialogExStyleOf(const DialogStyle& style) {
    DWORD result = 0;
    result |= style.appWindow ? WS_EX_APPWINDOW : 0;
    result |= style.clientEdge ? WS_EX_CLIENTEDGE : 0;
    return result;
}

Win32Control ControlStyleOf(const ControlTemplate& control) {
    const DWORD visible = control.visible ? WS_VISIBLE : 0;
    const DWORD disabled = control.enabled ? 0 : WS_DISABLED;
    const DWORD base = WS_CHILD | visible | disabled;
    switch (control.kind) {
    case ControlKind::GroupBox:
        return {kButtonClass, base | BS_GROUPBOX};
    case ControlKind::Label:
        return {kStaticClass, base | SS_LEFT | SS_NOPREFIX};
    case ControlKind::DropDownList:
        return {kComboBoxClass, base | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST};
    case ControlKind::Edit:
        return {kEditClass, base | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL};
    case ControlKind::CheckBox:
        return {kButtonClass, base | WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::PushButton:
        return {kButtonClass,
                base | WS_TABSTOP | (control.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)};
    case ControlKind::TrackBar:
        // A divider: drawn, but it takes no focus and nothing reads it.
        return {{0, TRACKBAR_CLASSW}, base | TBS_HORZ | TBS_NOTICKS | TBS_BOTH};
    case ControlKind::Icon:
        return {kStaticClass, base | SS_ICON};
    case ControlKind::ProgressBar:
        return {{0, PROGRESS_CLASSW}, base};
    case ControlKind::Dots:
        return {{0, kDotsClass}, base | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {kStaticClass, base};
}

int OpenListHeight(const ControlTemplate& control) {
    const int lines = static_cast<int>(
        std::min<std::size_t>(ItemCount(control), static_cast<std::size_t>(kVisibleListItems)));
    return lines * kListItemHeight + 2;
}

} // namespace

TemplateWriter::TemplateWriter(DWORD style, DWORD exStyle, DialogRect rect,
                               std::wstring_view caption, std::wstring_view fontName,
                               int pointSize) {
    Word(1);      // dlgVer
    Word(0xFFFF); // signature: the extended template
    Dword(0);     // helpID
    Dword(exStyle);
    Dword(style);
    m_countAt = m_words.size();
    Word(0); // cDlgItems, counted as controls are added
    for (int v : {rect.x, rect.y, rect.cx, rect.cy}) {
        Word(static_cast<WORD>(v));
    }
    Word(0); // no menu
    Word(0); // the dialog class
    String(caption);
    if ((style & DS_SETFONT) != 0) {
        Word(static_cast<WORD>(pointSize));
        Word(kFontWeight);
        Word(static_cast<WORD>(kFontCharset << 8)); // italic 0, then the character set
        String(fontName);
    }
}

void TemplateWriter::AddControl(int id, ControlClass cls, DWORD style, DWORD exStyle,
                                DialogRect rect, std::wstring_view title, WORD iconResource) {
    AlignToDword();
    Dword(0); // helpID
    Dword(exStyle);
    Dword(style);
    for (int v : {rect.x, rect.y, rect.cx, rect.cy}) {
        Word(static_cast<WORD>(v));
    }
    Dword(static_cast<DWORD>(id));
    if (cls.atom != 0) {
        Word(0xFFFF);
        Word(cls.atom);
    } else {
        String(cls.name);
    }
    if (title.empty() && iconResource != 0) {
        Word(0xFFFF);
        Word(iconResource);
    } else {
        String(title);
    }
    Word(0); // no creation data
    ++m_count;
    m_words[m_countAt] = static_cast<WORD>(m_count);
}

void TemplateWriter::Dword(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
}

void TemplateWriter::String(std::wstring_view text) {
    for (wchar_t c : text) {
        Word(static_cast<WORD>(c));
    }
    Word(0);
}

void TemplateWriter::AlignToDword() {
    if (m_words.size() % 2 != 0) {
        Word(0);
    }
}

TemplateWriter BuildDialogTemplate(const DialogTemplate& dialog, WORD iconResource) {
    TemplateWriter writer(DialogStyleOf(dialog.style), DialogExStyleOf(dialog.style),
                          {0, 0, dialog.cx, dialog.cy}, WidenUtf8(dialog.caption),
                          WidenUtf8(dialog.fontName), dialog.pointSize);
    for (const ControlTemplate& control : dialog.controls) {
        const Win32Control win32 = ControlStyleOf(control);
        DialogRect rect = control.rect;
        if (control.kind == ControlKind::DropDownList) {
            rect.cy += OpenListHeight(control);
        }
        writer.AddControl(control.id, win32.cls, win32.style, win32.exStyle, rect,
                          WidenUtf8(control.caption),
                          control.kind == ControlKind::Icon ? iconResource : WORD{0});
    }
    return writer;
}

} // namespace tervan
