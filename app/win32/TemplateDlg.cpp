#include "app/win32/TemplateDlg.h"

#include "app/win32/DialogTemplateWin32.h"
#include "app/win32/DotsControlWin32.h"
#include "app/win32/resource.h"
#include "base/FlagScope.h"
#include "base/WideTextWin32.h"
#include "form/ControlIds.h"

#include <commctrl.h>

namespace tervan {

namespace {

std::wstring Wide(std::string_view utf8) {
    return WidenUtf8(utf8);
}

std::wstring Wide(const std::u16string& text) {
    return {text.begin(), text.end()};
}

void SetProgress(HWND bar, const ProgressRange& range) {
    // A bar without a maximum marches: the step is not known.
    const LONG_PTR style = ::GetWindowLongPtrW(bar, GWL_STYLE);
    if (range.maximum > 0) {
        ::SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
        ::SetWindowLongPtrW(bar, GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
        ::SendMessageW(bar, PBM_SETRANGE32, 0, range.maximum);
        ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(range.value), 0);
    } else {
        ::SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
        ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, 0);
    }
}

} // namespace

CTemplateDlg::~CTemplateDlg() {
    // A derived dialog's form is gone already: nothing the window still says reaches it.
    m_form = nullptr;
    if (m_hWnd != nullptr && !m_modal) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CTemplateDlg::DoModal(DialogForm& form, HWND owner) {
    RegisterDotsControl();
    m_form = &form;
    m_modal = true;
    const TemplateWriter dialog = BuildDialogTemplate(form.Template(), IDR_MAINFRAME);
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, &DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

HWND CTemplateDlg::Create(DialogForm& form, HWND owner) {
    RegisterDotsControl();
    m_form = &form;
    m_modal = false;
    const TemplateWriter dialog = BuildDialogTemplate(form.Template(), IDR_MAINFRAME);
    HWND hwnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner,
                                             &DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd != nullptr) {
        ::ShowWindow(hwnd, SW_SHOW);
        ::UpdateWindow(hwnd);
    }
    return hwnd;
}

INT_PTR CALLBACK CTemplateDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<CTemplateDlg*>(lParam)->Init(hwnd);
        return TRUE; // focus on the first control that takes it
    }
    auto* self = reinterpret_cast<CTemplateDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_DESTROY) {
        self->m_names.Clear(); // while the controls are still there
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        self->m_hWnd = nullptr;
        return FALSE;
    }
    if (self->m_form == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        self->Dispatch({Ctl::Dialog, Notify::Close, {}});
        return TRUE;
    case kRefreshMessage:
        self->Apply(self->m_form->Refresh());
        return TRUE;
    default:
        return self->OnMessage(message, wParam, lParam);
    }
}

void CTemplateDlg::Init(HWND hwnd) {
    m_hWnd = hwnd;
    const DialogTemplate& dialog = m_form->Template();
    for (const ControlTemplate& control : dialog.controls) {
        if (control.limit > 0) {
            ::SendMessageW(Control(control.id), EM_LIMITTEXT, static_cast<WPARAM>(control.limit),
                           0);
        }
    }
    OnInitDialog();
    m_names.Set(m_hWnd, dialog);
    // The form's own work comes back on this thread; a window gone by then takes nothing.
    m_form->SetRefresh([hwnd] { ::PostMessageW(hwnd, kRefreshMessage, 0, 0); });
    Apply(m_form->Opening());
}

void CTemplateDlg::OnCommand(int id, int code) {
    if (m_applying) {
        return;
    }
    // An automatic check box reports every change of its state as a click; Enter and Esc come as
    // clicks of IDOK and IDCANCEL, a menu's commands as clicks of theirs.
    Notify kind = Notify::Clicked;
    if (code == BN_CLICKED) {
        const ControlTemplate* control = FindControl(m_form->Template(), id);
        const bool checkBox = control != nullptr && control->kind == ControlKind::CheckBox;
        kind = checkBox ? Notify::CheckChange : Notify::Clicked;
    } else if (code == CBN_SELCHANGE) {
        kind = Notify::SelChange;
    } else if (code == EN_CHANGE) {
        kind = Notify::EditChange;
    } else {
        return;
    }
    Dispatch({id, kind, Read(id, kind)});
}

ControlValue CTemplateDlg::Read(int id, Notify kind) const {
    switch (kind) {
    case Notify::SelChange: {
        const LRESULT selection = ::SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
        return selection == CB_ERR ? -1 : static_cast<int>(selection);
    }
    case Notify::CheckChange:
        return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
    case Notify::EditChange: {
        HWND edit = Control(id);
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
        return std::u16string(text.begin(), text.end());
    }
    default:
        return {};
    }
}

void CTemplateDlg::Apply(const FormChanges& changes) {
    if (m_hWnd == nullptr) {
        return; // not yet made: the form's opening state shows it all
    }
    if (changes.message) {
        Show(*changes.message);
    }
    {
        const FlagScope applying(m_applying);
        for (const ControlChange& change : changes.controls) {
            HWND hwnd = Control(change.id);
            if (change.items) {
                ::SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
                for (const std::string& item : *change.items) {
                    ::SendMessageW(hwnd, CB_ADDSTRING, 0,
                                   reinterpret_cast<LPARAM>(Wide(item).c_str()));
                }
            }
            if (change.selection) {
                ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(*change.selection), 0);
            }
            if (change.checked) {
                ::CheckDlgButton(m_hWnd, change.id, *change.checked ? BST_CHECKED : BST_UNCHECKED);
            }
            if (change.text) {
                ::SetWindowTextW(hwnd, Wide(*change.text).c_str());
            }
            if (change.caret) {
                ::SendMessageW(hwnd, EM_SETSEL, static_cast<WPARAM>(*change.caret),
                               static_cast<LPARAM>(*change.caret));
            }
            if (change.caption) {
                ::SetWindowTextW(hwnd, Wide(*change.caption).c_str());
            }
            if (change.progress) {
                SetProgress(hwnd, *change.progress);
            }
            if (change.dots) {
                SetDots(hwnd, *change.dots);
            }
            if (change.enabled) {
                ::EnableWindow(hwnd, *change.enabled ? TRUE : FALSE);
            }
        }
    }
    if (changes.title) {
        ::SetWindowTextW(m_hWnd, Wide(*changes.title).c_str());
    }
    for (const BoxMessage& box : changes.boxes) {
        Show(box);
    }
    if (changes.end) {
        if (m_modal) {
            ::EndDialog(m_hWnd, *changes.end);
        } else {
            ::DestroyWindow(m_hWnd);
        }
    }
}

void CTemplateDlg::Show(const BoxMessage& box) {
    std::optional<std::wstring> caption;
    if (box.caption) {
        caption = Wide(*box.caption);
    }
    m_host.MessageBox(box.owned ? m_hWnd : nullptr, Wide(box.text), caption,
                      box.informationIcon ? MessageIcon::Information : MessageIcon::None);
}

} // namespace tervan
