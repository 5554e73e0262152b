#pragma once

#include <memory>

namespace tervan::cli {

// The program works in UTF-8 on every system. While one of these lives, Argc and Argv are the
// program's arguments in UTF-8, and standard output and error take UTF-8 whatever they lead to.
// On Windows the arguments are taken from the wide command line (the char* arguments Windows
// passes to main are in the ANSI code page and lose every character it lacks), and a console is
// handed UTF-16 text, which every console draws whatever its code page; to a file or a pipe the
// streams stay UTF-8. Elsewhere both are as the system gives them.
class Utf8Console {
public:
    Utf8Console(int argc, char** argv);
    ~Utf8Console();
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

    int Argc() const { return m_argc; }
    char** Argv() const { return m_argv; }

private:
    struct Native; // what the system's binding keeps while the console lives
    std::unique_ptr<Native> m_native;
    int m_argc = 0;
    char** m_argv = nullptr;
};

} // namespace tervan::cli
