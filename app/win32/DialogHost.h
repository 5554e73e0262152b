#pragma once

#include "form/FormWindow.h"

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tervan {

enum class MessageIcon { None, Information };

// Everything the window shows modally besides its own dialogs: message boxes and the file
// chooser. Tests answer through a host of their own, so no box is ever left open.
class CDialogHost {
public:
    virtual ~CDialogHost() = default;

    // `owner` may be null (a box of its own); no caption means the system's default one.
    virtual void MessageBox(HWND owner, const std::wstring& text,
                            const std::optional<std::wstring>& caption, MessageIcon icon) = 0;
    // `filter` as GetOpenFileNameW takes it: pairs of NUL-terminated strings, then one more NUL;
    // its first entry chosen at start. Empty when the user cancels; else the file and the index
    // of the entry chosen with it. A chooser to `save` to asks before it replaces a file.
    virtual std::optional<ChosenFile> ChooseFile(HWND owner, const std::wstring& title,
                                                 const std::wstring& filter,
                                                 const std::wstring& defaultExt, bool save) = 0;
};

// The real one: MessageBoxW, GetOpenFileNameW and GetSaveFileNameW.
class CWin32DialogHost : public CDialogHost {
public:
    void MessageBox(HWND owner, const std::wstring& text,
                    const std::optional<std::wstring>& caption, MessageIcon icon) override;
    std::optional<ChosenFile> ChooseFile(HWND owner, const std::wstring& title,
                                         const std::wstring& filter, const std::wstring& defaultExt,
                                         bool save) override;
};

} // namespace tervan
