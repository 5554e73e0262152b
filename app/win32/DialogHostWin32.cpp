#include "app/win32/DialogHost.h"

#include <commdlg.h>

#include <array>

namespace tervan {

void CWin32DialogHost::MessageBox(HWND owner, const std::wstring& text,
                                  const std::optional<std::wstring>& caption, MessageIcon icon) {
    const UINT type = MB_OK | (icon == MessageIcon::Information ? MB_ICONINFORMATION : 0);
    ::MessageBoxW(owner, text.c_str(), caption ? caption->c_str() : nullptr, type);
}

std::optional<ChosenFile> CWin32DialogHost::ChooseFile(HWND owner, const std::wstring& title,
                                                       const std::wstring& filter,
                                                       const std::wstring& defaultExt, bool save) {
    // Long paths are cut at MAX_PATH by the classic dialog; this leaves room well beyond it.
    std::array<wchar_t, 32768> file{};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    ofn.lpstrDefExt = defaultExt.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    if (!save) {
        ofn.Flags |= OFN_FILEMUSTEXIST;
    }
    if (!(save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn))) {
        return std::nullopt;
    }
    // The entry chosen counts from 1.
    return ChosenFile{std::filesystem::path(file.data()),
                      ofn.nFilterIndex > 0 ? ofn.nFilterIndex - 1 : 0};
}

} // namespace tervan
