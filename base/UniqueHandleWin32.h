#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

namespace tervan {

// Owns one Win32 handle. Both null and INVALID_HANDLE_VALUE stand for "none" (CreateFileW fails
// with the one, SetupAPI and CreateEventW with the other), so a failed open never reaches
// CloseHandle. Closing happens exactly once, when the holder is reset or goes out of scope.
// Spelled without <windows.h>, whose macros (LoadString, ...) must not reach the shared headers.
class UniqueHandle {
public:
    using Native = void*; // HANDLE

    UniqueHandle() = default;
    explicit UniqueHandle(Native handle) : m_handle(IsNone(handle) ? nullptr : handle) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(UniqueHandle&& other) noexcept
        : m_handle(std::exchange(other.m_handle, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(std::exchange(other.m_handle, nullptr));
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Native Get() const { return m_handle; }
    bool IsNull() const { return m_handle == nullptr; }
    bool operator==(std::nullptr_t) const { return IsNull(); }

    void Reset(Native handle = nullptr);

private:
    static bool IsNone(Native handle) {
        return handle == nullptr || reinterpret_cast<std::intptr_t>(handle) == -1;
    }

    Native m_handle = nullptr;
};

} // namespace tervan
