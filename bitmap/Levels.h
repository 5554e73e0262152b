#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>

namespace tervan {

// A block of grey levels, made here or taken over from the decoder as it stands: a photo's
// levels are tens of megabytes, not worth a copy.
class Levels {
public:
    using Release = void (*)(void*);

    Levels() = default;
    explicit Levels(std::size_t count, std::uint8_t level = 0)
        : m_block(Allocate(count), &std::free), m_size(count) {
        std::fill_n(m_block.get(), count, level);
    }
    Levels(const Levels& other)
        : m_block(Allocate(other.m_size), &std::free), m_size(other.m_size) {
        std::copy_n(other.data(), m_size, m_block.get());
    }
    Levels& operator=(const Levels& other) {
        if (this != &other) {
            *this = Levels(other);
        }
        return *this;
    }
    Levels(Levels&&) noexcept = default;
    Levels& operator=(Levels&&) noexcept = default;
    ~Levels() = default;

    // Takes over `count` levels at `block`, which `release` frees.
    static Levels TakeOver(std::uint8_t* block, std::size_t count, Release release) {
        Levels levels;
        levels.m_block = std::unique_ptr<std::uint8_t[], Release>(block, release);
        levels.m_size = block != nullptr ? count : 0;
        return levels;
    }

    std::uint8_t* data() { return m_block.get(); }
    const std::uint8_t* data() const { return m_block.get(); }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    std::uint8_t* begin() { return data(); }
    std::uint8_t* end() { return data() + m_size; }
    const std::uint8_t* begin() const { return data(); }
    const std::uint8_t* end() const { return data() + m_size; }
    std::uint8_t& operator[](std::size_t i) { return m_block[i]; }
    std::uint8_t operator[](std::size_t i) const { return m_block[i]; }
    std::span<const std::uint8_t> Span() const { return {data(), m_size}; }

private:
    static std::uint8_t* Allocate(std::size_t count) {
        auto* block = static_cast<std::uint8_t*>(std::malloc(count == 0 ? 1 : count));
        if (block == nullptr) {
            throw std::bad_alloc();
        }
        return block;
    }

    std::unique_ptr<std::uint8_t[], Release> m_block{nullptr, &std::free};
    std::size_t m_size = 0;
};

} // namespace tervan
