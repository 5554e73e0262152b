#include "cli/Utf8Console.h"

#include "base/WideTextWin32.h"
#include "cli/ConsoleText.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tervan::cli {

namespace {

struct LocalFreer {
    void operator()(LPWSTR* block) const { ::LocalFree(block); }
};

// WriteConsoleW takes a limited amount at once on older systems.
constexpr std::size_t kConsoleChunk = 8192;

// One standard handle (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE): a console when the console takes it.
class StdHandleDevice : public OutputDevice {
public:
    explicit StdHandleDevice(DWORD which);
    bool IsConsole() const override;
    bool WriteConsoleText(std::u16string_view text) override;

private:
    HANDLE m_handle;
};

StdHandleDevice::StdHandleDevice(DWORD which) : m_handle(::GetStdHandle(which)) {}

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

} // namespace

struct Utf8Console::Native {
    std::vector<std::string> arguments;
    std::vector<char*> pointers; // into arguments, then a null
    StdHandleDevice output{STD_OUTPUT_HANDLE};
    StdHandleDevice error{STD_ERROR_HANDLE};
    // Declared after the devices they write to, so they end first.
    std::optional<ConsoleRoute> outputRoute;
    std::optional<ConsoleRoute> errorRoute;
};

Utf8Console::Utf8Console(int argc, char** argv)
    : m_native(std::make_unique<Native>()), m_argc(argc), m_argv(argv) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreer> wide(
        ::CommandLineToArgvW(::GetCommandLineW(), &count));
    for (int i = 0; wide && i < count; ++i) {
        m_native->arguments.push_back(NarrowToUtf8(wide.get()[i]));
    }
    for (std::string& argument : m_native->arguments) {
        m_native->pointers.push_back(argument.data());
    }
    m_native->pointers.push_back(nullptr);
    // Without a wide command line the system's own arguments stand.
    if (!m_native->arguments.empty()) {
        m_argc = static_cast<int>(m_native->arguments.size());
        m_argv = m_native->pointers.data();
    }
    m_native->outputRoute.emplace(std::cout, m_native->output);
    m_native->errorRoute.emplace(std::cerr, m_native->error);
}

Utf8Console::~Utf8Console() = default;

} // namespace tervan::cli
