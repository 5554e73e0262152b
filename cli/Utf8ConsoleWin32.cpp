#include "cli/Utf8ConsoleWin32.h"

#include "link/WideTextWin32.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <iostream>
#include <memory>

namespace tervan::cli {

namespace {

struct LocalFreer {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

// WriteConsoleW takes a limited amount at once on older systems.
constexpr std::size_t kConsoleChunk = 8192;

} // namespace

StdHandleDevice::StdHandleDevice(unsigned long which) : m_handle(::GetStdHandle(which)) {}

bool StdHandleDevice::IsConsole() const {
    DWORD mode = 0;
    return m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE &&
           ::GetConsoleMode(m_handle, &mode) != 0;
}

bool StdHandleDevice::WriteConsoleText(std::u16string_view text) {
    while (!text.empty()) {
        const auto count = static_cast<DWORD>(std::min(text.size(), kConsoleChunk));
        DWORD written = 0;
        if (!::WriteConsoleW(m_handle, reinterpret_cast<const wchar_t*>(text.data()), count,
                             &written, nullptr) ||
            written == 0) {
            return false;
        }
        text.remove_prefix(written);
    }
    return true;
}

Utf8Console::Utf8Console() : m_output(STD_OUTPUT_HANDLE), m_error(STD_ERROR_HANDLE) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    for (int i = 0; wide && i < count; ++i) {
        m_arguments.push_back(NarrowToUtf8(wide.get()[i]));
    }
    for (std::string& argument : m_arguments) {
        m_pointers.push_back(argument.data());
    }
    m_pointers.push_back(nullptr);
    m_outputRoute.emplace(std::cout, m_output);
    m_errorRoute.emplace(std::cerr, m_error);
}

} // namespace tervan::cli
