// tervan-printer-sim: plays the printer on a pseudo-terminal or a TCP port until SIGTERM or
// SIGINT.
#include "base/Version.h"
#include "link/StandardDescriptors.h"
#include "sim/VirtualPrinter.h"

#include <CLI/CLI.hpp>

#include <csignal>
#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <pthread.h>

namespace {

using tervan::sim::ReplyMode;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

int Run(int argc, char** argv) {
    tervan::EnsureStandardDescriptors();
    CLI::App app{"Plays the printer on a pseudo-terminal (or with --tcp on a TCP port); prints "
                 "the terminal's path (or tcp:127.0.0.1:PORT) first, then one line per command "
                 "received."};
    app.set_version_flag("--version", "tervan-printer-sim " TERVAN_VERSION,
                         "Show the version and end");
    ReplyMode reply = ReplyMode::Ok;
    unsigned delayMs = 0;
    std::string logPath;
    std::string outDir;
    std::size_t stallAfter = 0;
    std::size_t bytesPerSecond = 0;
    std::optional<std::uint16_t> tcpPort;
    const std::map<std::string, ReplyMode> modes{{"ok", ReplyMode::Ok},
                                                 {"wrong", ReplyMode::Wrong},
                                                 {"silent", ReplyMode::Silent},
                                                 {"split", ReplyMode::Split},
                                                 {"late", ReplyMode::Late}};
    app.add_option("--reply", reply, "How to answer 1B 06")
        ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case));
    app.add_option("--delay", delayMs, "Milliseconds before a late answer");
    app.add_option("--log", logPath, "Append every byte received to this file");
    app.add_option("--out", outDir, "Write slot-N.png here when a slot is printed");
    app.add_option("--stall-after", stallAfter,
                   "Stop reading the line for good after this many bytes, as a jammed printer");
    app.add_option("--bytes-per-second", bytesPerSecond,
                   "Read no faster than this, as a slow printer does");
    app.add_option("--tcp", tcpPort,
                   "Listen on this TCP port of 127.0.0.1 and ::1 instead, as a network printer's "
                   "raw port does (0: a free one)");
    // A refused option ends with 2, as in tervan-cli, rather than with the parser's own codes.
    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) { // --help or --version
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }

    File log;
    if (!logPath.empty()) {
        log.reset(std::fopen(logPath.c_str(), "ab"));
        if (!log) {
            std::fprintf(stderr, "tervan-printer-sim: cannot open %s\n", logPath.c_str());
            return 1;
        }
    }
    if (!outDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(outDir, error);
        if (!std::filesystem::is_directory(outDir, error)) {
            std::fprintf(stderr, "tervan-printer-sim: cannot use %s\n", outDir.c_str());
            return 1;
        }
    }

    // The signals are taken by sigwait below; every thread started from here on has them
    // blocked. A reader of stdout that goes away must not kill the printer.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    // The path goes out before any decoded line.
    std::mutex output;
    tervan::sim::VirtualPrinterOptions options;
    options.reply = reply;
    options.delay = std::chrono::milliseconds(delayMs);
    options.outDir = outDir;
    options.stallAfter = stallAfter;
    options.bytesPerSecond = bytesPerSecond;
    options.tcpPort = tcpPort;
    options.onLine = [&output](const std::string& line) {
        const std::scoped_lock lock(output);
        std::fprintf(stdout, "%s\n", line.c_str());
        std::fflush(stdout);
    };
    if (log) {
        options.onBytes = [file = log.get()](std::span<const std::uint8_t> bytes) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fflush(file);
        };
    }

    tervan::sim::VirtualPrinter printer(std::move(options));
    {
        const std::scoped_lock lock(output);
        if (!printer.Start()) {
            if (tcpPort) {
                std::fprintf(stderr, "tervan-printer-sim: cannot listen on TCP port %u\n",
                             static_cast<unsigned>(*tcpPort));
            } else {
                std::fprintf(stderr, "tervan-printer-sim: no pseudo-terminal available\n");
            }
            return 1;
        }
        std::fprintf(stdout, "%s\n", printer.SlavePath().c_str());
        std::fflush(stdout);
    }

    int caught = 0;
    while (sigwait(&stopSignals, &caught) != 0) {
    }
    printer.Stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tervan-printer-sim: %s\n", e.what());
        return 1;
    }
}
