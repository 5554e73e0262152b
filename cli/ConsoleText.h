#pragma once

#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

namespace tervan::cli {

// One of the program's output streams as the system has it: a console shows UTF-16 text that
// the program hands it; anything else (a file, a pipe) takes the program's UTF-8 bytes as they
// are.
class OutputDevice {
public:
    virtual ~OutputDevice() = default;
    virtual bool IsConsole() const = 0;
    // False when the console did not take the text.
    virtual bool WriteConsoleText(std::u16string_view text) = 0;
};

// Takes the program's UTF-8 and hands it to a console as UTF-16, line by line and on every flush,
// whole characters only: one cut between two writes waits for its rest. Bytes that are no UTF-8
// show as U+FFFD.
class ConsoleTextBuf : public std::streambuf {
public:
    explicit ConsoleTextBuf(OutputDevice& device) : m_device(device) {}
    // Shows what is left, a cut-off character as U+FFFD.
    bool Finish();

protected:
    int_type overflow(int_type ch) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    bool WriteWhole();

    OutputDevice& m_device;
    std::string m_pending;
};

// While it lives, `stream` writes through a ConsoleTextBuf when `device` is a console and is left
// as it is otherwise. It gives the stream its own buffer back when it ends.
class ConsoleRoute {
public:
    ConsoleRoute(std::ostream& stream, OutputDevice& device);
    ~ConsoleRoute();
    ConsoleRoute(const ConsoleRoute&) = delete;
    ConsoleRoute& operator=(const ConsoleRoute&) = delete;

private:
    std::ostream& m_stream;
    std::unique_ptr<ConsoleTextBuf> m_buffer;
    std::streambuf* m_previous = nullptr;
};

} // namespace tervan::cli
