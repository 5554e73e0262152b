#pragma once

#include "base/Bytes.h"
#include "protocol/ToAnsi.h"

#include <memory>
#include <optional>

namespace tervan {

// One code page's converter for single, already-composed characters. Bound once per platform:
// iconv on POSIX, WideCharToMultiByte on Windows (which must ask for WC_NO_BEST_FIT_CHARS and
// report a default character as a missing mapping, so nothing is replaced behind our back).
class CodePageEncoder {
public:
    explicit CodePageEncoder(const AnsiCodePage& codePage);
    ~CodePageEncoder();
    CodePageEncoder(const CodePageEncoder&) = delete;
    CodePageEncoder& operator=(const CodePageEncoder&) = delete;

    // False when the system cannot convert to this code page at all.
    bool IsOpen() const;
    // The bytes of one character (never a surrogate), or nothing when the code page lacks it.
    std::optional<Bytes> Encode(char32_t character);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace tervan
