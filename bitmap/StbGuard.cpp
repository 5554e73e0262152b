#include "bitmap/StbGuard.h"

#include <cstddef>
#include <cstring>

namespace tervan {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kProgressive = 0xC2;
constexpr std::uint8_t kDht = 0xC4;
constexpr std::uint8_t kSos = 0xDA;
constexpr std::uint8_t kEoi = 0xD9;
// A JPEG's Huffman table holds at most 256 codes.
constexpr unsigned kMaxCodes = 256;

bool IsRestart(std::uint8_t code) {
    return code >= 0xD0 && code <= 0xD7;
}

// Walks a JPEG's markers as stb reads them and notes which Huffman tables are defined, so that no
// scan uses a table of more than 256 codes, or one never defined (stb would look codes up in
// memory it never filled).
class JpegWalk {
public:
    explicit JpegWalk(std::span<const std::uint8_t> file) : m_file(file) {}

    bool Safe() {
        std::size_t at = 0;
        while (at + 1 < m_file.size()) {
            // stb passes over anything that is not a marker one byte at a time, and over fill
            // bytes.
            if (m_file[at] != kMarker) {
                ++at;
                continue;
            }
            while (at + 1 < m_file.size() && m_file[at + 1] == kMarker) {
                ++at;
            }
            if (at + 1 >= m_file.size()) {
                break;
            }
            const std::uint8_t code = m_file[at + 1];
            at += 2;
            if (code == kEoi) {
                break;
            }
            if (code == 0xD8 || code == 0x01 || IsRestart(code)) {
                continue; // no length
            }
            if ((code == kDht && !Tables(at)) || (code == kSos && !ScanTablesDefined(at))) {
                return false;
            }
            if (code >= 0xC0 && code <= 0xC2) {
                m_progressive = code == kProgressive;
            }
            const std::size_t length = Length(at);
            at += length < 2 ? 2 : length;
            if (code == kSos) {
                at = CompressedEnd(at);
            }
        }
        return true;
    }

private:
    // Past the end of the file stb reads zeros.
    unsigned Byte(std::size_t at) const { return at < m_file.size() ? m_file[at] : 0u; }
    std::size_t Length(std::size_t at) const { return Byte(at) << 8 | Byte(at + 1); }

    // A DHT segment whose length field is at `at`.
    bool Tables(std::size_t at) {
        long left = static_cast<long>(Length(at)) - 2;
        std::size_t i = at + 2;
        while (left > 0 && i < m_file.size()) {
            const unsigned kind = Byte(i) >> 4;
            const unsigned id = Byte(i) & 15;
            unsigned codes = 0;
            for (std::size_t k = 1; k <= 16; ++k) {
                codes += Byte(i + k);
            }
            if (kind > 1 || id > 3 || codes > kMaxCodes) {
                return false;
            }
            m_defined[kind][id] = true;
            i += 17 + codes;
            left -= 17 + static_cast<long>(codes);
        }
        return true;
    }

    // An SOS header whose length field is at `at`: each component's tables the scan decodes with
    // (a sequential scan both; a progressive one the DC table in its first DC pass, the AC table
    // in its AC passes).
    bool ScanTablesDefined(std::size_t at) const {
        const unsigned components = Byte(at + 2);
        const std::size_t spectrum = at + 3 + 2 * std::size_t{components};
        const bool dc = !m_progressive || (Byte(spectrum) == 0 && Byte(spectrum + 2) >> 4 == 0);
        const bool ac = !m_progressive || Byte(spectrum) != 0;
        for (unsigned c = 0; c < components; ++c) {
            const unsigned tables = Byte(at + 4 + 2 * std::size_t{c});
            if ((dc && !Defined(0, tables >> 4)) || (ac && !Defined(1, tables & 15))) {
                return false;
            }
        }
        return true;
    }

    bool Defined(unsigned kind, unsigned id) const { return id < 4 && m_defined[kind][id]; }

    // Where the compressed data from `at` ends: at the first FF followed by neither a stuffed
    // zero nor a restart marker (fill bytes skipped).
    std::size_t CompressedEnd(std::size_t at) const {
        while (at + 1 < m_file.size()) {
            // Markers are rare in compressed data: memchr finds the next candidate fast.
            const void* found = std::memchr(m_file.data() + at, kMarker, m_file.size() - at);
            if (found == nullptr) {
                break;
            }
            at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - m_file.data());
            std::size_t next = at + 1;
            while (next < m_file.size() && m_file[next] == kMarker) {
                ++next;
            }
            if (next < m_file.size() && m_file[next] != 0x00 && !IsRestart(m_file[next])) {
                return next - 1;
            }
            at = next;
        }
        return m_file.size();
    }

    std::span<const std::uint8_t> m_file;
    bool m_defined[2][4] = {};
    bool m_progressive = false;
};

bool IsSpace(std::uint8_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// The three numbers of a binary PNM header, read as stb reads them: white space and comments,
// then digits. stb keeps each in an int, so ten digits may overflow it.
bool PnmNumbersSafe(std::span<const std::uint8_t> file) {
    constexpr std::size_t kMaxDigits = 9;
    std::size_t at = 2;
    for (int number = 0; number < 3; ++number) {
        for (;;) {
            while (at < file.size() && IsSpace(file[at])) {
                ++at;
            }
            if (at >= file.size() || file[at] != '#') {
                break;
            }
            while (at < file.size() && file[at] != '\n' && file[at] != '\r') {
                ++at;
            }
        }
        const std::size_t start = at;
        while (at < file.size() && file[at] >= '0' && file[at] <= '9') {
            ++at;
        }
        if (at - start > kMaxDigits) {
            return false;
        }
    }
    return true;
}

// stb reserves room for a PNG data chunk as long as its header says before it reads it: a few
// bytes declaring two gigabytes would take that much memory. Every chunk up to the end chunk
// must lie inside the file.
bool PngChunksInside(std::span<const std::uint8_t> file) {
    constexpr std::size_t kSignature = 8;
    constexpr std::size_t kFrame = 12; // length, type, CRC
    std::size_t at = kSignature;
    while (at + kFrame <= file.size()) {
        const std::uint64_t length = std::uint64_t{file[at]} << 24 |
                                     std::uint64_t{file[at + 1]} << 16 |
                                     std::uint64_t{file[at + 2]} << 8 | file[at + 3];
        if (length > file.size() - at - kFrame) {
            return false;
        }
        if (std::memcmp(file.data() + at + 4, "IEND", 4) == 0) {
            break;
        }
        at += kFrame + static_cast<std::size_t>(length);
    }
    return true;
}

} // namespace

bool SafeForStb(std::span<const std::uint8_t> file) {
    // stb takes a start marker after fill bytes too: anything that begins with FF is walked.
    if (!file.empty() && file[0] == kMarker) {
        return JpegWalk(file).Safe();
    }
    constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() >= sizeof kPng && std::memcmp(file.data(), kPng, sizeof kPng) == 0) {
        return PngChunksInside(file);
    }
    if (file.size() >= 2 && file[0] == 'P' && (file[1] == '5' || file[1] == '6')) {
        return PnmNumbersSafe(file);
    }
    return true;
}

} // namespace tervan
