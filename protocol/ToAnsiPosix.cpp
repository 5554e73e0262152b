#include "protocol/CodePageEncoder.h"

#include <bit>
#include <cstdint>
#include <iconv.h>

namespace tervan {

struct CodePageEncoder::Impl {
    iconv_t cd = nullptr; // null until a conversion opens

    ~Impl() {
        if (cd != nullptr) {
            iconv_close(cd);
        }
    }
};

CodePageEncoder::CodePageEncoder(const AnsiCodePage& codePage) : m_impl(std::make_unique<Impl>()) {
    // "//TRANSLIT" or "//IGNORE" would replace or drop characters without a word.
    if (codePage.name.empty() || codePage.name.find('/') != std::string::npos) {
        return;
    }
    constexpr const char* kUtf32 =
        std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
    const iconv_t cd = iconv_open(codePage.name.c_str(), kUtf32);
    // iconv_open fails with (iconv_t)-1.
    if (reinterpret_cast<std::intptr_t>(cd) != -1) {
        m_impl->cd = cd;
    }
}

CodePageEncoder::~CodePageEncoder() = default;

bool CodePageEncoder::IsOpen() const {
    return m_impl->cd != nullptr;
}

std::optional<Bytes> CodePageEncoder::Encode(char32_t character) {
    if (!IsOpen()) {
        return std::nullopt;
    }
    char32_t in = character;
    char buffer[32];
    char* inPtr = reinterpret_cast<char*>(&in);
    std::size_t inLeft = sizeof in;
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(m_impl->cd, nullptr, nullptr, nullptr, nullptr); // a fresh shift state per character
    // Anything but 0 is a failure or a substitution the converter made on its own.
    if (iconv(m_impl->cd, &inPtr, &inLeft, &outPtr, &outLeft) != 0 ||
        iconv(m_impl->cd, nullptr, nullptr, &outPtr, &outLeft) != 0) {
        return std::nullopt;
    }
    return Bytes(buffer, outPtr);
}

} // namespace tervan
