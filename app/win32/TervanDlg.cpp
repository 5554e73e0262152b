#include "app/win32/TervanDlg.h"

#include "app/win32/AboutDlg.h"
#include "app/win32/ProgressDlg.h"
#include "app/win32/ResourceStrings.h"
#include "app/win32/resource.h"
#include "base/WideTextWin32.h"
#include "form/ControlIds.h"
#include "form/LinkToggle.h"

#include <thread>

namespace tervan {

namespace {

std::wstring Wide(std::string_view utf8) {
    return WidenUtf8(utf8);
}

std::wstring Wide(const std::u16string& text) {
    return {text.begin(), text.end()};
}

// Sets a flag for as long as it lives.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_old; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

} // namespace

const MessageMap<CTervanDlg> CTervanDlg::kMessageMap = MessageMapOf<CTervanDlg>();

CTervanDlg::CTervanDlg(CDialogHost& host, FormState form) : m_host(host), m_form(std::move(form)) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    m_hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON),
                                              ::GetSystemMetrics(SM_CYICON), LR_SHARED));
    m_hSmallIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME),
                                                   IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

CTervanDlg::~CTervanDlg() {
    if (m_hWnd != nullptr && !m_modal) {
        ::DestroyWindow(m_hWnd);
    }
}

INT_PTR CTervanDlg::DoModal(HWND owner) {
    m_modal = true;
    const TemplateWriter dialog = BuildDialogTemplate(MainDialogTemplate(), IDR_MAINFRAME);
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner, &DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

HWND CTervanDlg::Create(HWND owner) {
    m_modal = false;
    const TemplateWriter dialog = BuildDialogTemplate(MainDialogTemplate(), IDR_MAINFRAME);
    HWND hwnd = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialog.Get(), owner,
                                             &DialogProc, reinterpret_cast<LPARAM>(this));
    if (hwnd != nullptr) {
        ::ShowWindow(hwnd, SW_SHOW);
        ::UpdateWindow(hwnd);
    }
    return hwnd;
}

INT_PTR CALLBACK CTervanDlg::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CTervanDlg*>(lParam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        self->m_hWnd = hwnd;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<CTervanDlg*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    if (message == WM_NCDESTROY) {
        self->m_hWnd = nullptr;
        return FALSE;
    }
    return self->OnMessage(message, wParam, lParam);
}

INT_PTR CTervanDlg::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        return OnSysCommand(wParam) ? TRUE : FALSE;
    case WM_PAINT:
        return OnPaint() ? TRUE : FALSE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<INT_PTR>(m_hIcon);
    case WM_DESTROY:
        m_names.Clear(); // while the controls are still there
        return FALSE;
    case kProgressMessage:
        OnProgress();
        return TRUE;
    case kDoneMessage:
        if (m_progress != nullptr) {
            m_progress->Finish();
        }
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CTervanDlg::OnInitDialog() {
    if (HMENU menu = ::GetSystemMenu(m_hWnd, FALSE)) {
        const std::wstring about = LoadResString(StringId::AboutMenu);
        if (!about.empty()) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about.c_str());
        }
    }
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

    m_bConnected = false;
    {
        const FlagScope applying(m_applying);
        for (const ControlState& control : m_form.controls) {
            ShowState(control);
        }
    }
    m_names.Set(m_hWnd, MainDialogTemplate());

    std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(m_hWnd)) + 1, L'\0');
    title.resize(static_cast<std::size_t>(
        ::GetWindowTextW(m_hWnd, title.data(), static_cast<int>(title.size()))));
    m_strTitle = title;
    return TRUE; // focus on the first control that takes it
}

void CTervanDlg::OnCommand(int id, int code) {
    if (id == IDOK || id == IDCANCEL) {
        // Enter and Esc end the dialog, and with it the program; not while an operation runs.
        if (!m_busy) {
            EndDialog(id);
        }
        return;
    }
    if (m_applying) {
        return;
    }
    // An automatic check box reports every change of its state as a click.
    const ControlTemplate* control = FindControl(MainDialogTemplate(), id);
    const bool checkBox = control != nullptr && control->kind == ControlKind::CheckBox;
    const Notify notify = code == BN_CLICKED ? (checkBox ? Notify::CheckChange : Notify::Clicked)
                          : code == CBN_SELCHANGE ? Notify::SelChange
                          : code == EN_CHANGE     ? Notify::EditChange
                                                  : Notify{-1};
    for (const MessageMapEntry<CTervanDlg>& entry : kMessageMap) {
        if (entry.id == id && entry.notify == notify) {
            (this->*entry.handler)(id);
            return;
        }
    }
    if (notify == Notify::SelChange) {
        KeepSelection(id);
    } else if (notify == Notify::EditChange) {
        KeepText(id);
    }
}

bool CTervanDlg::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about;
        about.DoModal(m_hWnd);
        return true;
    }
    return false; // default processing
}

bool CTervanDlg::OnPaint() {
    if (!::IsIconic(m_hWnd)) {
        return false; // the dialog paints itself
    }
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    const int x = (rect.right - rect.left - cxIcon + 1) / 2;
    const int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
    return true;
}

void CTervanDlg::EndDialog(int result) {
    if (m_modal) {
        ::EndDialog(m_hWnd, result);
    } else {
        ::DestroyWindow(m_hWnd);
    }
}

void CTervanDlg::ClickOpenClose() {
    // The button's own notification, sent: it is handled before this returns. (BM_CLICK would
    // need the hidden button to take the focus and the mouse capture first.)
    ::SendMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(Ctl::OpenClose, BN_CLICKED),
                   reinterpret_cast<LPARAM>(Control(Ctl::OpenClose)));
}

void CTervanDlg::ToggleLink(int) {
    if (m_progress != nullptr) {
        return; // a conversation's worker owns the link until it ends
    }
    const ToggleReport report =
        ToggleSelectedLink(m_form, m_links, NarrowToUtf8(m_strTitle), UiLanguage());
    m_bConnected = m_links.IsConnected();
    Apply(report.changes);
    if (report.title) {
        ::SetWindowTextW(m_hWnd, Wide(*report.title).c_str());
    }
    for (const BoxMessage& message : report.messages) {
        Show(message);
    }
}

void CTervanDlg::ApplySettings(int) {
    ReadControls();
    RunApply(m_form, *this);
}

void CTervanDlg::DownloadBitmap(int) {
    ReadControls();
    RunDownload(m_form, *this);
}

void CTervanDlg::PrintBitmap(int) {
    ReadControls();
    RunPrint(m_form, *this);
}

void CTervanDlg::ReadControls() {
    // A control can change without its notification: a drop-down closed with Esc after arrowing
    // through it, a check set by an assistive tool. Such a change reaches the rules now, as its
    // notification would have, before the operation reads the form.
    for (const ControlState& control : m_form.controls) {
        bool changed = false;
        int code = 0;
        switch (control.kind) {
        case ControlKind::DropDownList:
            changed = Selection(control.id) != control.selection;
            code = CBN_SELCHANGE;
            break;
        case ControlKind::CheckBox:
            changed = Checked(control.id) != control.checked;
            code = BN_CLICKED;
            break;
        case ControlKind::Edit:
            changed = Text(control.id) != control.text;
            code = EN_CHANGE;
            break;
        default:
            break;
        }
        if (changed) {
            OnCommand(control.id, code);
        }
    }
}

void CTervanDlg::RunWithProgress(const ProgressView& first, StopToken& stop,
                                 const std::function<void(const ProgressReport&)>& job) {
    const Language language = UiLanguage();
    CProgressDlg progress(
        m_strTitle, Wide(CancelText(language)), Wide(StoppingText(language)),
        [&stop] { stop.RequestStop(); }, [&stop] { stop.RequestAbandon(); });
    progress.Show(Wide(first.text), first.value, first.maximum, first.cancellable);
    HWND hwnd = m_hWnd;
    const ProgressReport report = [this, hwnd](const ProgressView& view) {
        bool queued = false;
        {
            const std::lock_guard lock(m_progressLock);
            queued = m_pendingProgress.has_value();
            m_pendingProgress = view;
        }
        // One message in the queue at a time: a report per row would flood it, and posted
        // messages come before the user's input.
        if (!queued) {
            ::PostMessageW(hwnd, kProgressMessage, 0, 0);
        }
    };
    m_progress = &progress;
    {
        // From here until the join the link belongs to the worker.
        const std::jthread thread([&report, &job, hwnd] {
            job(report);
            ::PostMessageW(hwnd, kDoneMessage, 0, 0);
        });
        progress.DoModal(m_hWnd);
    }
    m_progress = nullptr;
    // Reports still queued behind the end have nothing left to update.
    MSG message;
    while (::PeekMessageW(&message, m_hWnd, kProgressMessage, kDoneMessage, PM_REMOVE)) {
    }
    const std::lock_guard lock(m_progressLock);
    m_pendingProgress.reset();
}

std::optional<std::filesystem::path> CTervanDlg::ChooseBitmapFile(Language language) {
    // One entry as GetOpenFileNameW takes it: the name, the pattern, then the closing NUL.
    const std::wstring filter = Wide(kBitmapFilterName) + L'\0' + Wide(kBitmapPattern) + L'\0';
    return m_host.ChooseFile(m_hWnd, LoadResString(StringId::OpenBitmapFile, language), filter,
                             Wide(kBitmapExtension));
}

void CTervanDlg::OnProgress() {
    std::optional<ProgressView> view;
    {
        const std::lock_guard lock(m_progressLock);
        view.swap(m_pendingProgress);
    }
    if (m_progress != nullptr && view) {
        m_progress->Show(Wide(view->text), view->value, view->maximum, view->cancellable);
    }
}

void CTervanDlg::OnModifyChange(int id) {
    Apply(OnClicked(m_form, id, Checked(id)));
}

void CTervanDlg::OnFontSwitch(int id) {
    Apply(OnClicked(m_form, id, Checked(id)));
}

void CTervanDlg::SelectPort(int id) {
    Apply(OnSelChange(m_form, id, Selection(id)));
}

void CTervanDlg::OnBuzzerChange(int id) {
    Apply(OnSelChange(m_form, id, Selection(id)));
}

void CTervanDlg::OnBtNameChange(int id) {
    Apply(OnEditChange(m_form, id, Text(id)));
}

void CTervanDlg::OnBtPasswordChange(int id) {
    Apply(OnEditChange(m_form, id, Text(id)));
}

void CTervanDlg::KeepSelection(int id) {
    Apply(OnSelChange(m_form, id, Selection(id)));
}

void CTervanDlg::KeepText(int id) {
    Apply(OnEditChange(m_form, id, Text(id)));
}

int CTervanDlg::Selection(int id) const {
    const LRESULT selection = ::SendMessageW(Control(id), CB_GETCURSEL, 0, 0);
    return selection == CB_ERR ? -1 : static_cast<int>(selection);
}

bool CTervanDlg::Checked(int id) const {
    return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED;
}

std::u16string CTervanDlg::Text(int id) const {
    HWND control = Control(id);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

void CTervanDlg::ShowState(const ControlState& control) {
    HWND hwnd = Control(control.id);
    switch (control.kind) {
    case ControlKind::DropDownList:
        ::SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : control.items) {
            ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        }
        ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(control.selection), 0);
        break;
    case ControlKind::Edit:
        ::SetWindowTextW(hwnd, Wide(control.text).c_str());
        if (control.limit > 0) {
            ::SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(control.limit), 0);
        }
        break;
    case ControlKind::CheckBox:
        ::CheckDlgButton(m_hWnd, control.id, control.checked ? BST_CHECKED : BST_UNCHECKED);
        break;
    default:
        break;
    }
    ::EnableWindow(hwnd, control.enabled ? TRUE : FALSE);
}

void CTervanDlg::Apply(const FormChanges& changes) {
    if (changes.message) {
        std::optional<std::wstring> caption;
        if (changes.message->caption) {
            caption = Wide(*changes.message->caption);
        }
        m_host.MessageBox(m_hWnd, Wide(changes.message->text), caption, MessageIcon::None);
    }
    const FlagScope applying(m_applying);
    for (const ControlChange& change : changes.controls) {
        HWND hwnd = Control(change.id);
        if (change.items) {
            ::SendMessageW(hwnd, CB_RESETCONTENT, 0, 0);
            for (const std::string& item : *change.items) {
                ::SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
            }
        }
        if (change.selection) {
            ::SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(*change.selection), 0);
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
        if (change.enabled) {
            ::EnableWindow(hwnd, *change.enabled ? TRUE : FALSE);
        }
    }
}

void CTervanDlg::Show(const BoxMessage& message) {
    m_host.MessageBox(message.owned ? m_hWnd : nullptr, Wide(message.text), Wide(message.caption),
                      message.informationIcon ? MessageIcon::Information : MessageIcon::None);
}

} // namespace tervan
