#include "cli/ConsoleText.h"

#include "base/Utf.h"

namespace tervan::cli {

namespace {

// Enough to keep a console live without a call per character.
constexpr std::size_t kChunk = 4096;

} // namespace

bool ConsoleTextBuf::WriteWhole() {
    const std::size_t whole = WholeUtf8Length(m_pending);
    if (whole == 0) {
        return true;
    }
    const bool written =
        m_device.WriteConsoleText(Utf8ToUtf16Lossy(std::string_view(m_pending).substr(0, whole)));
    m_pending.erase(0, whole);
    return written;
}

bool ConsoleTextBuf::Finish() {
    const bool written = WriteWhole();
    if (m_pending.empty()) {
        return written;
    }
    const bool rest = m_device.WriteConsoleText(Utf8ToUtf16Lossy(m_pending));
    m_pending.clear();
    return written && rest;
}

ConsoleTextBuf::int_type ConsoleTextBuf::overflow(int_type ch) {
    if (traits_type::eq_int_type(ch, traits_type::eof())) {
        return WriteWhole() ? traits_type::not_eof(ch) : traits_type::eof();
    }
    const char c = traits_type::to_char_type(ch);
    return xsputn(&c, 1) == 1 ? ch : traits_type::eof();
}

std::streamsize ConsoleTextBuf::xsputn(const char* text, std::streamsize count) {
    const std::string_view added(text, static_cast<std::size_t>(count));
    m_pending += added;
    if (added.find('\n') != std::string_view::npos || m_pending.size() >= kChunk) {
        return WriteWhole() ? count : 0;
    }
    return count;
}

int ConsoleTextBuf::sync() {
    return WriteWhole() ? 0 : -1;
}

ConsoleRoute::ConsoleRoute(std::ostream& stream, OutputDevice& device) : m_stream(stream) {
    if (device.IsConsole()) {
        m_buffer = std::make_unique<ConsoleTextBuf>(device);
        m_previous = m_stream.rdbuf(m_buffer.get());
    }
}

ConsoleRoute::~ConsoleRoute() {
    if (m_buffer) {
        m_stream.flush();
        m_buffer->Finish();
        m_stream.rdbuf(m_previous);
    }
}

} // namespace tervan::cli
