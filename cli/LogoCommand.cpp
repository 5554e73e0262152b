#include "cli/LogoCommand.h"

#include "bitmap/BitmapMessages.h"
#include "bitmap/BitmapTransfer.h"
#include "cli/ExitCode.h"
#include "cli/LinkOptions.h"
#include "cli/ProgressBar.h"
#include "cli/Terminal.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace tervan::cli {

namespace {

struct Inputs {
    LinkOptions download;
    LinkOptions print;
    std::string downloadSlot;
    std::string printSlot;
    std::string file;
};

std::optional<std::uint8_t> ParseSlot(const std::string& value) {
    if (value.size() == 1 && value[0] >= '0' && value[0] < '0' + kBitmapSlots) {
        return static_cast<std::uint8_t>(value[0] - '0');
    }
    PrintText("--slot: '" + value + "' is not a slot from 0 to 8");
    return std::nullopt;
}

int RunDownload(const Inputs& in) {
    const auto slot = ParseSlot(in.downloadSlot);
    if (!slot) {
        return kExitBadInput;
    }
    // The file is known before the link: a bad one is refused without opening anything.
    // The argument is UTF-8; on Windows a narrow path would be read in the ANSI code page.
    const LoadResult load =
        LoadBitmapFile(std::filesystem::path(std::u8string(in.file.begin(), in.file.end())));
    if (const auto refused = LoadMessage(load.Outcome())) {
        PrintText(in.file + ": " + std::string(LoadString(*refused)));
        return kExitBadInput;
    }
    // The trace has the rows already, line by line.
    const bool showProgress = !in.download.dryRun && !in.download.trace && StderrIsTerminal();
    return RunOnLink(in.download, [&](const Session& session) {
        DownloadResult result;
        {
            std::optional<ProgressBar> bar;
            ProgressFn progress;
            if (showProgress) {
                bar.emplace(std::cerr);
                progress = [&bar](const DownloadProgress& p) {
                    bar->Update(p.rowsSent, p.rowsTotal, p.bytesSent);
                };
            }
            result =
                DownloadBitmap(session.link, *slot, load, session.pause, session.stop, progress);
        }
        PrintText(LoadString(result.message));
        return result.outcome == DownloadOutcome::Stored ? kExitDone : kExitFailed;
    });
}

int RunPrint(const Inputs& in) {
    const auto slot = ParseSlot(in.printSlot);
    if (!slot) {
        return kExitBadInput;
    }
    return RunOnLink(in.print, [&](const Session& session) {
        if (PrintBitmap(session.link, *slot, session.stop)) {
            return kExitDone;
        }
        PrintText(LoadString(StringId::Failure));
        return kExitFailed;
    });
}

} // namespace

std::function<int()> AddLogoCommand(CLI::App& app) {
    auto in = std::make_shared<Inputs>();
    CLI::App* logo = app.add_subcommand("logo", "Store a monochrome BMP in a slot, print a slot");
    logo->require_subcommand(1);

    CLI::App* download = logo->add_subcommand(
        "download", "Store a 1-bit BMP (declared size at most 64 KiB) in one of the slots 0-8");
    download->add_option("--slot", in->downloadSlot, "0..8")->required();
    download->add_option("FILE", in->file, "a monochrome BMP file")->required();
    AddLinkOptions(*download, in->download);

    CLI::App* print = logo->add_subcommand("print", "Print the logo held in a slot");
    print->add_option("--slot", in->printSlot, "0..8")->required();
    AddLinkOptions(*print, in->print);

    return [download, print, in] {
        if (download->parsed()) {
            return RunDownload(*in);
        }
        if (print->parsed()) {
            return RunPrint(*in);
        }
        return -1;
    };
}

} // namespace tervan::cli
