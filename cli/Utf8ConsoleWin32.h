#pragma once

#include "cli/ConsoleText.h"

#include <optional>
#include <string>
#include <vector>

namespace tervan::cli {

// One standard handle (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE): a console when the console takes it.
class StdHandleDevice : public OutputDevice {
public:
    explicit StdHandleDevice(unsigned long which);
    bool IsConsole() const override;
    bool WriteConsoleText(std::u16string_view text) override;

private:
    void* m_handle;
};

// The program works in UTF-8 as on the other systems. While one of these lives, the arguments
// are the wide command line in UTF-8 (the char* arguments Windows passes to main are in the ANSI
// code page and lose every character it lacks), and standard output and error show on a console
// as UTF-16 text, which every console draws whatever its code page; to a file or a pipe they stay
// UTF-8.
class Utf8Console {
public:
    Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

    int Argc() const { return static_cast<int>(m_arguments.size()); }
    char** Argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_pointers; // into m_arguments, then a null
    StdHandleDevice m_output;
    StdHandleDevice m_error;
    // Declared after the devices they write to, so they end first.
    std::optional<ConsoleRoute> m_outputRoute;
    std::optional<ConsoleRoute> m_errorRoute;
};

} // namespace tervan::cli
