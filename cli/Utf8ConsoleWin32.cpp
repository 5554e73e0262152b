#include "cli/Utf8ConsoleWin32.h"

#include "link/WideTextWin32.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

namespace tervan::cli {

namespace {

struct LocalFreer {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

} // namespace

Utf8Console::Utf8Console() : m_previousOutputCodePage(::GetConsoleOutputCP()) {
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
    if (m_previousOutputCodePage != 0) {
        ::SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8Console::~Utf8Console() {
    if (m_previousOutputCodePage != 0) {
        ::SetConsoleOutputCP(m_previousOutputCodePage);
    }
}

} // namespace tervan::cli
