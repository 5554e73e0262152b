#include "protocol/ToAnsi.h"

#include "protocol/CodePageEncoder.h"
#include "protocol/Composition.h"

#include <span>
#include <vector>

namespace tervan {

namespace {

struct CodePoint {
    char32_t value;
    std::size_t position; // in UTF-16 units
};

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// Up to the first NUL; an unpaired surrogate stays a code point of its own, which no code page
// holds.
std::vector<CodePoint> Decode(std::u16string_view text) {
    std::vector<CodePoint> out;
    for (std::size_t i = 0; i < text.size() && text[i] != u'\0'; ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out.push_back({0x10000 + ((unit - 0xD800u) << 10) + (text[i + 1] - 0xDC00u), i});
            ++i;
        } else {
            out.push_back({unit, i});
        }
    }
    return out;
}

class Converter {
public:
    explicit Converter(const AnsiCodePage& codePage) : m_encoder(codePage) {}

    AnsiText Convert(std::u16string_view text) {
        const std::vector<CodePoint> points = Decode(text);
        for (std::size_t i = 0; i < points.size();) {
            std::size_t end = i + 1;
            while (end < points.size() && IsCombiningMark(points[end].value)) {
                ++end;
            }
            ConvertCluster(std::span(points).subspan(i, end - i));
            i = end;
        }
        return std::move(m_result);
    }

private:
    std::optional<Bytes> Encode(char32_t c) {
        if (!m_encoder.IsOpen()) {
            if (c < 0x80) {
                return Bytes{static_cast<std::uint8_t>(c)};
            }
            return std::nullopt;
        }
        return IsSurrogate(c) ? std::nullopt : m_encoder.Encode(c);
    }

    // A base and the marks after it. chain[k] is the base composed with the first k marks.
    void ConvertCluster(std::span<const CodePoint> cluster) {
        std::vector<char32_t> chain{cluster[0].value};
        for (std::size_t k = 1; k < cluster.size(); ++k) {
            const char32_t composed = ComposePair(chain.back(), cluster[k].value);
            if (composed == 0) {
                break;
            }
            chain.push_back(composed);
        }
        // The longest composition whose pieces all map wins.
        for (std::size_t used = chain.size(); used > 0; --used) {
            Bytes bytes;
            bool whole = true;
            for (std::size_t k = 0; whole && k + used <= cluster.size(); ++k) {
                const char32_t c = k == 0 ? chain[used - 1] : cluster[used - 1 + k].value;
                const auto piece = Encode(c);
                whole = piece.has_value();
                if (whole) {
                    bytes.insert(bytes.end(), piece->begin(), piece->end());
                }
            }
            if (whole) {
                m_result.bytes.insert(m_result.bytes.end(), bytes.begin(), bytes.end());
                return;
            }
        }
        // Nothing maps whole: the longest composition, with "?" for each missing piece.
        const std::size_t used = chain.size();
        for (std::size_t k = 0; k + used <= cluster.size(); ++k) {
            const CodePoint piece =
                k == 0 ? CodePoint{chain[used - 1], cluster[0].position} : cluster[used - 1 + k];
            if (const auto bytes = Encode(piece.value)) {
                m_result.bytes.insert(m_result.bytes.end(), bytes->begin(), bytes->end());
                continue;
            }
            m_result.bytes.push_back('?');
            if (!m_result.unmappable) {
                m_result.unmappable = Unmappable{piece.value, piece.position};
            }
        }
    }

    CodePageEncoder m_encoder;
    AnsiText m_result;
};

} // namespace

std::optional<CodePageProblem> CheckCodePage(const AnsiCodePage& codePage) {
    CodePageEncoder encoder(codePage);
    if (!encoder.IsOpen()) {
        return CodePageProblem::Unknown;
    }
    for (char32_t c = 0x20; c < 0x7F; ++c) {
        if (encoder.Encode(c) != Bytes{static_cast<std::uint8_t>(c)}) {
            return CodePageProblem::NotAsciiSuperset;
        }
    }
    return std::nullopt;
}

AnsiText ToAnsiChecked(std::u16string_view text, const AnsiCodePage& codePage) {
    AnsiText result = Converter(codePage).Convert(text);
    // An unknown code page converts nothing faithfully, ASCII included.
    if (!result.unmappable && !text.empty() && text[0] != u'\0' &&
        !CodePageEncoder(codePage).IsOpen()) {
        result.unmappable = Unmappable{Decode(text).front().value, 0};
    }
    return result;
}

Bytes ToAnsi(std::u16string_view text, const AnsiCodePage& codePage) {
    return ToAnsiChecked(text, codePage).bytes;
}

Bytes ToAnsi(std::u16string_view text) {
    return ToAnsi(text, SystemAnsiCodePage());
}

} // namespace tervan
