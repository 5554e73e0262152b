#pragma once

#include <string>
#include <vector>

namespace tervan::cli {

// The program works in UTF-8 as on the other systems. While one of these lives, the arguments
// are the wide command line in UTF-8 (the char* arguments Windows passes to main are in the ANSI
// code page and lose every character it lacks) and the console shows UTF-8 output; the console's
// own output code page comes back when it ends.
class Utf8Console {
public:
    Utf8Console();
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

    int Argc() const { return static_cast<int>(m_arguments.size()); }
    char** Argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_arguments;
    std::vector<char*> m_pointers; // into m_arguments, then a null
    unsigned m_previousOutputCodePage = 0;
};

} // namespace tervan::cli
