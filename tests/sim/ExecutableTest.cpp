#include "PeerPort.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

extern char** environ;

namespace tervan::sim::test {
namespace {

// The running program; killed and reaped if a test leaves it behind.
class Child {
public:
    explicit Child(std::vector<std::string> args) {
        std::array<int, 2> out{-1, -1};
        if (::pipe(out.data()) != 0) {
            return;
        }
        m_stdout.Reset(out[0]);
        UniqueFd writeEnd(out[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, out[1]);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Running() const { return m_pid > 0; }

    // The next line of its standard output, without the newline.
    std::optional<std::string> ReadLine(milliseconds timeout) {
        const Clock::time_point end = Clock::now() + timeout;
        for (;;) {
            if (const auto newline = m_pending.find('\n'); newline != std::string::npos) {
                std::string line = m_pending.substr(0, newline);
                m_pending.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::ceil<milliseconds>(end - Clock::now()).count();
            pollfd fd{m_stdout.Get(), POLLIN, 0};
            if (left <= 0 || ::poll(&fd, 1, static_cast<int>(left)) <= 0) {
                return std::nullopt;
            }
            std::array<char, 256> buffer{};
            const ssize_t n = ::read(m_stdout.Get(), buffer.data(), buffer.size());
            if (n <= 0) {
                return std::nullopt;
            }
            m_pending.append(buffer.data(), static_cast<std::size_t>(n));
        }
    }

    // Its exit status, once it has exited within the time-out.
    std::optional<int> Wait(milliseconds timeout) {
        const Clock::time_point end = Clock::now() + timeout;
        while (Clock::now() < end) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = -1;
                return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
            }
            std::this_thread::sleep_for(milliseconds{10});
        }
        return std::nullopt;
    }

    void Signal(int number) const { ::kill(m_pid, number); }

private:
    pid_t m_pid = -1;
    UniqueFd m_stdout;
    std::string m_pending;
};

class SimExecutable : public ::testing::TestWithParam<int> {};

TEST_P(SimExecutable, ServesInTheBackgroundUntilStopped) {
    TempDir dir;
    const std::filesystem::path log = dir.Path() / "received.bin";
    const std::filesystem::path out = dir.Path() / "pictures";
    Child sim({TERVAN_PRINTER_SIM, "--reply", "ok", "--log", log.string(), "--out", out.string()});
    ASSERT_TRUE(sim.Running());

    const std::optional<std::string> path = sim.ReadLine(milliseconds{5000});
    ASSERT_TRUE(path.has_value());
    PeerPort peer(*path);
    ASSERT_TRUE(peer.IsOpen()) << *path;

    const Bytes enter{0x1B, 0x06};
    ASSERT_TRUE(peer.Write(enter));
    EXPECT_EQ(PeerPort::Joined(peer.ReadFor(milliseconds{1000}, 2, Clock::now())),
              (Bytes{0x4F, 0x4B}));
    const Bytes logo{0x1B, 0xFF, 0x00, 0x01, 0x00, 0x01, 0x00, 0x81, 0x1C, 0x50, 0x00};
    ASSERT_TRUE(peer.Write(logo));

    for (const char* expected :
         {"EnterSetup", "StoreBitmap slot=0 x=1 y=1", "PrintStoredBitmap slot=0"}) {
        EXPECT_EQ(sim.ReadLine(milliseconds{2000}), std::optional<std::string>(expected));
    }

    sim.Signal(GetParam());
    EXPECT_EQ(sim.Wait(milliseconds{5000}), std::optional(0));

    std::ifstream logged(log, std::ios::binary);
    const Bytes received{std::istreambuf_iterator<char>(logged), std::istreambuf_iterator<char>()};
    EXPECT_EQ(received, (Bytes{0x1B, 0x06, 0x1B, 0xFF, 0x00, 0x01, 0x00, 0x01, 0x00, 0x81, 0x1C,
                               0x50, 0x00}));
    EXPECT_TRUE(std::filesystem::exists(out / "slot-0.png"));
}

INSTANTIATE_TEST_SUITE_P(Signals, SimExecutable, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& test) {
                             return std::string(test.param == SIGTERM ? "Term" : "Interrupt");
                         });

} // namespace
} // namespace tervan::sim::test
