#include "sim/LogoPng.h"

#include <png.h>

#include <cstring>
#include <system_error>

namespace tervan::sim {

namespace {

// Releases what libpng's simplified API holds for one image, on every path.
class PngImage {
public:
    PngImage() {
        std::memset(&m_image, 0, sizeof m_image);
        m_image.version = PNG_IMAGE_VERSION;
    }
    ~PngImage() { png_image_free(&m_image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;

    png_image& Get() { return m_image; }

private:
    png_image m_image;
};

constexpr std::uint8_t kBlack = 0x00;
constexpr std::uint8_t kWhite = 0xFF;

} // namespace

bool WriteLogoPng(const Logo& logo, const std::filesystem::path& path) {
    const std::size_t width = std::size_t{8} * logo.rowBytes;
    const std::size_t height = logo.rows;
    if (width == 0 || height == 0 || logo.bits.size() != std::size_t{logo.rowBytes} * height) {
        return false;
    }
    std::vector<std::uint8_t> pixels(width * height, kWhite);
    for (std::size_t i = 0; i < logo.bits.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            if ((logo.bits[i] & (0x80 >> bit)) != 0) {
                pixels[i * 8 + static_cast<std::size_t>(bit)] = kBlack;
            }
        }
    }

    PngImage image;
    image.Get().width = static_cast<png_uint_32>(width);
    image.Get().height = static_cast<png_uint_32>(height);
    image.Get().format = PNG_FORMAT_GRAY;

    std::error_code error;
    std::filesystem::path partial = path;
    partial += ".part";
    if (png_image_write_to_file(&image.Get(), partial.c_str(), 0, pixels.data(), 0, nullptr) == 0) {
        std::filesystem::remove(partial, error);
        return false;
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        return false;
    }
    return true;
}

} // namespace tervan::sim
