#pragma once

#include "base/Bytes.h"
#include "base/Pause.h"
#include "link/Link.h"

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tervan::test {

// A link that records every write, read, purge and pause on one time line, and answers reads
// from a queue of canned replies. For tests of conversations whose wire bytes are checked
// against literals.
class RecordingLink : public Link {
public:
    struct Event {
        enum class Kind { Write, Read, Purge, Pause, Close } kind;
        Bytes bytes; // written or read
        std::chrono::milliseconds pause{0};
    };

    std::vector<Event> events;
    std::deque<Bytes> replies;                      // each read takes the front, if any
    std::optional<std::size_t> writesBeforeFailure; // later writes send nothing
    std::optional<std::size_t> shortWriteAt;        // the write at this index sends one byte less
    std::optional<std::size_t> shortWriteSends;     // ... or this many bytes
    std::function<void(std::size_t index)> onWrite; // called as each write starts
    std::size_t queued = 0;      // what the system is said to hold, not yet taken by the printer
    std::vector<Bytes> attempts; // every write asked for, whole, whether it went out or not
    bool open = true;
    // The device vanishes at this write (by index) or at the first read: from then on every write
    // and read fails and DeviceGone says so.
    std::optional<std::size_t> goneAtWrite;
    bool goneAtRead = false;

    std::size_t Write(std::span<const std::uint8_t> bytes) override {
        attempts.emplace_back(bytes.begin(), bytes.end());
        if (!open) {
            return 0;
        }
        const std::size_t index = m_writes++;
        if (onWrite) {
            onWrite(index);
        }
        m_gone = m_gone || (goneAtWrite && index >= *goneAtWrite);
        if (m_gone || (writesBeforeFailure && index >= *writesBeforeFailure)) {
            return 0;
        }
        std::size_t sent = bytes.size();
        if (shortWriteAt && index == *shortWriteAt && sent > 0) {
            sent = std::min(sent - 1, shortWriteSends.value_or(sent - 1));
        }
        events.push_back({Event::Kind::Write, Bytes(bytes.begin(), bytes.begin() + sent), {}});
        return sent;
    }

    std::size_t Read(std::span<std::uint8_t> buffer) override {
        Bytes got;
        m_gone = m_gone || goneAtRead;
        if (open && !m_gone && !replies.empty()) {
            Bytes& front = replies.front();
            const std::size_t n = std::min(front.size(), buffer.size());
            got.assign(front.begin(), front.begin() + n);
            front.erase(front.begin(), front.begin() + n);
            if (front.empty()) {
                replies.pop_front();
            }
        }
        std::copy(got.begin(), got.end(), buffer.begin());
        events.push_back({Event::Kind::Read, got, {}});
        return got.size();
    }

    std::size_t QueuedBytes() const override { return open ? queued : 0; }
    void Purge() override { events.push_back({Event::Kind::Purge, {}, {}}); }
    void Close() override {
        open = false;
        events.push_back({Event::Kind::Close, {}, {}});
    }
    bool IsOpen() const override { return open; }
    bool DeviceGone() const override { return m_gone; }

    PauseFn Pauser() {
        return [this](std::chrono::milliseconds d) {
            events.push_back({Event::Kind::Pause, {}, d});
        };
    }

    std::vector<Bytes> Writes() const {
        std::vector<Bytes> out;
        for (const Event& e : events) {
            if (e.kind == Event::Kind::Write) {
                out.push_back(e.bytes);
            }
        }
        return out;
    }

    // The time line as text: "purge|W 1B 06|P 100|R 4F 4B|W 1B 16". With `writesOnly`, just the
    // writes: "1B 06|1B 16".
    std::string Trace(bool writesOnly = false) const {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string out;
        for (const Event& e : events) {
            if (writesOnly && e.kind != Event::Kind::Write) {
                continue;
            }
            static constexpr const char* kNames[] = {"W", "R", "purge", "P", "close"};
            std::string item = writesOnly ? "" : kNames[static_cast<int>(e.kind)];
            if (e.kind == Event::Kind::Pause) {
                item += " " + std::to_string(e.pause.count());
            }
            for (std::uint8_t b : e.bytes) {
                item += {' ', kHex[b >> 4], kHex[b & 0x0F]};
            }
            out += (out.empty() ? "" : "|") + (writesOnly ? item.substr(1) : item);
        }
        return out;
    }

    std::size_t Count(Event::Kind kind) const {
        std::size_t n = 0;
        for (const Event& e : events) {
            n += e.kind == kind ? 1 : 0;
        }
        return n;
    }

private:
    std::size_t m_writes = 0;
    bool m_gone = false;
};

} // namespace tervan::test
