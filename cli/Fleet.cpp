#include "cli/Fleet.h"

#include "cli/ExitCode.h"
#include "cli/Json.h"
#include "cli/PortRun.h"
#include "cli/StopSignals.h"

#include <atomic>
#include <charconv>
#include <chrono>
#include <iostream>
#include <memory>
#include <mutex>
#include <sstream>
#include <system_error>
#include <thread>

namespace tervan::cli {

namespace {

using Clock = std::chrono::steady_clock;

// How often the printers' stop tokens look at the command line's.
constexpr std::chrono::milliseconds kStopForwarding{10};

// With a point whatever the locale says: JSON has no other.
std::string Seconds(double seconds, int decimals) {
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed, decimals);
    return std::string(text, end.ptr);
}

std::string VerdictOf(const PortRunResult& run) {
    if (run.status == kExitDone) {
        return "ok";
    }
    if (run.stopped) {
        return "stopped";
    }
    return run.status == kExitNoLink ? "no-link" : "failed";
}

// One printer's run, on its own thread. Each printer has a stop token of its own: a download that
// keeps its promise of blank rows must not hold back the other printers' stops.
struct Printer {
    std::string port;
    StopToken stop;
    PrinterReport report;
    std::ostringstream trace;
    std::thread thread;
};

} // namespace

std::string ReportLine(const PrinterReport& report) {
    std::string line =
        report.port + "  " + report.verdict + "  " + Seconds(report.seconds, 2) + " s";
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        std::string message = report.messages[i];
        for (char& c : message) {
            c = c == '\n' ? ' ' : c; // one line per printer
        }
        line += (i == 0 ? "  " : "; ") + message;
    }
    return line;
}

std::string ReportJson(const PrinterReport& report) {
    std::string message;
    for (const std::string& m : report.messages) {
        message += (message.empty() ? "" : "\n") + m;
    }
    return "{\"port\":" + JsonString(report.port) + ",\"verdict\":" + JsonString(report.verdict) +
           ",\"exit_status\":" + std::to_string(report.status) +
           ",\"message\":" + JsonString(message) + ",\"seconds\":" + Seconds(report.seconds, 3) +
           ",\"bytes_sent\":" + std::to_string(report.bytesSent) + "}";
}

int RunOnPrinters(const std::vector<std::string>& ports, const LinkOptions& options,
                  const LineSettings& line, const FleetSetup& setup, const Work& work) {
    std::vector<std::unique_ptr<Printer>> printers;
    for (const std::string& port : ports) {
        printers.push_back(std::make_unique<Printer>());
        printers.back()->port = port;
    }
    std::mutex output;
    std::atomic<std::size_t> running{printers.size()};
    const auto run = [&](Printer& p) {
        const Clock::time_point start = Clock::now();
        PrinterReport& report = p.report;
        report.port = p.port;
        const SayFn say = [&report](std::string_view text) { report.messages.emplace_back(text); };
        // Shown at once: it explains why this printer takes a while longer.
        const SayFn note = [&](std::string_view text) {
            const std::scoped_lock lock(output);
            std::cerr << p.port << ": " << text << '\n' << std::flush;
        };
        PortRunSetup portSetup{line, setup.pauseFor(p.stop), p.stop, say, note};
        portSetup.trace = options.trace ? &p.trace : nullptr;
        portSetup.many = true;
        PortRunResult result;
        try {
            result = RunOnPort(p.port, portSetup, work);
        } catch (const std::exception& e) {
            // Memory running out, say: this printer fails, the others go on.
            say(e.what());
        }
        report.status = result.status;
        // A printer a signal stopped reports the status it would have ended with alone.
        if (result.stopped && result.status != kExitDone && CaughtSignal() != 0) {
            report.status = 128 + CaughtSignal();
        }
        report.verdict = VerdictOf(result);
        report.bytesSent = result.bytesSent;
        report.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        {
            const std::scoped_lock lock(output);
            if (options.trace) {
                std::istringstream lines(p.trace.str());
                for (std::string traced; std::getline(lines, traced);) {
                    std::cerr << p.port << ": " << traced << '\n';
                }
                std::cerr << std::flush;
            }
            setup.out << (options.json ? ReportJson(report) : ReportLine(report)) << '\n'
                      << std::flush;
        }
        running.fetch_sub(1);
    };
    for (auto& printer : printers) {
        try {
            printer->thread = std::thread(run, std::ref(*printer));
        } catch (const std::system_error& e) {
            // The system gives no more threads: this printer is not talked to at all.
            printer->report = {printer->port, kExitFailed, "failed", {e.what()}, 0, 0};
            const std::scoped_lock lock(output);
            setup.out << (options.json ? ReportJson(printer->report) : ReportLine(printer->report))
                      << '\n'
                      << std::flush;
            running.fetch_sub(1);
        }
    }
    // A stop or an abandon of the command line reaches every printer.
    while (running.load() > 0) {
        for (auto& printer : printers) {
            if (setup.stop.AbandonRequested()) {
                printer->stop.RequestAbandon();
            } else if (setup.stop.StopRequested()) {
                printer->stop.RequestStop();
            }
        }
        std::this_thread::sleep_for(kStopForwarding);
    }
    int status = kExitDone;
    for (auto& printer : printers) {
        if (printer->thread.joinable()) {
            printer->thread.join();
        }
        if (status == kExitDone) {
            status = printer->report.status;
        }
    }
    // Whoever reads the reports (a script, a configuration tool) must not take lost ones for
    // success.
    if (!setup.out) {
        std::cerr << "standard output cannot be written: the printers' reports are lost\n"
                  << std::flush;
        return status == kExitDone ? static_cast<int>(kExitFailed) : status;
    }
    return status;
}

} // namespace tervan::cli
