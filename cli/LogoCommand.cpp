#include "cli/LogoCommand.h"

#include "bitmap/BitmapMessages.h"
#include "bitmap/BitmapTransfer.h"
#include "cli/ConvertCommand.h"
#include "cli/ExitCode.h"
#include "cli/LinkOptions.h"
#include "cli/LogoInput.h"
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
    ConversionInputs conversion;
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
    const std::optional<LoadResult> loaded = LoadLogoInput(in.file, in.conversion);
    if (!loaded) {
        return kExitBadInput;
    }
    const LoadResult& load = *loaded;
    // The trace has the rows already, line by line; several printers report one line each.
    const bool showProgress = !in.download.dryRun && !in.download.trace && StderrIsTerminal();
    return RunOnLink(in.download, [&](const Session& session) {
        DownloadResult result;
        {
            std::optional<ProgressBar> bar;
            if (showProgress && !session.many) {
                bar.emplace(std::cerr);
            }
            bool toldFilling = false;
            const ProgressFn progress = [&](const DownloadProgress& p) {
                // Said once, bar or not: a stopped run goes on for a while, and why.
                if (p.filling && !toldFilling) {
                    toldFilling = true;
                    if (bar) {
                        bar->Break();
                    }
                    session.note(FillingText(p, UiLanguage()));
                }
                if (bar) {
                    bar->Update(p.rowsTaken, p.rowsTotal, p.bytesTaken);
                }
            };
            result =
                DownloadBitmap(session.link, *slot, load, session.pause, session.stop, progress);
        }
        session.say(DownloadText(result, UiLanguage()));
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
        session.say(LoadString(StringId::Failure));
        return kExitFailed;
    });
}

} // namespace

std::function<int()> AddLogoCommand(CLI::App& app) {
    auto in = std::make_shared<Inputs>();
    CLI::App* logo =
        app.add_subcommand("logo", "Store a logo in a slot, print a slot, convert a picture");
    logo->require_subcommand(1);

    CLI::App* download = logo->add_subcommand(
        "download", "Store a logo in one of the slots 0-8: a 1-bit BMP (declared size at most "
                    "64 KiB) as it stands, any other picture converted");
    download->add_option("--slot", in->downloadSlot, "0..8")->required();
    download->add_option("FILE", in->file, "a 1-bit BMP, or a picture to convert")->required();
    AddLinkOptions(*download, in->download);
    AddConversionOptions(*download, in->conversion);

    CLI::App* print = logo->add_subcommand("print", "Print the logo held in a slot");
    print->add_option("--slot", in->printSlot, "0..8")->required();
    AddLinkOptions(*print, in->print);

    const std::function<int()> convert = AddConvertCommand(*logo);

    return [download, print, convert, in] {
        if (download->parsed()) {
            return RunDownload(*in);
        }
        if (print->parsed()) {
            return RunPrint(*in);
        }
        return convert();
    };
}

} // namespace tervan::cli
