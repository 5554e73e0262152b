#pragma once

#include <cstdint>
#include <span>

namespace tervan {

// Whether a file is safe to hand to the stb_image Debian ships, which trusts what a broken or
// hostile file may get wrong: a JPEG Huffman table of more than 256 codes is built into room for
// 256, a JPEG scan may use a table that was never defined (stb then looks codes up in memory it
// never filled), a PNG chunk header makes it reserve as much memory as it declares before it
// finds the data missing, and a PNM header number of ten or more digits overflows as it is read.
// Such files are corrupt anyway; they are refused before stb reads them. The JPEG's markers are
// walked as stb walks them, so every table and scan stb could read is checked.
bool SafeForStb(std::span<const std::uint8_t> file);

} // namespace tervan
