#pragma once

namespace tervan {

// The precomposed character for a base and one following combining mark, or 0 when none
// exists. Single characters are never rewritten (U+212B stays U+212B).
char32_t ComposePair(char32_t base, char32_t mark);
// Whether a character is a combining mark (general category M) that may join the one before.
bool IsCombiningMark(char32_t character);

} // namespace tervan
