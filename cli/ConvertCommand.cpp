#include "cli/ConvertCommand.h"

#include "bitmap/LogoFiles.h"
#include "cli/ConversionOptions.h"
#include "cli/ExitCode.h"
#include "cli/LinkOptions.h"
#include "cli/LogoInput.h"
#include "cli/StopSignals.h"

#include <iostream>
#include <memory>

namespace tervan::cli {

namespace {

struct Inputs {
    ConversionInputs conversion;
    std::string in;
    std::string out;
    std::string preview;
};

bool Write(const std::string& file, const Bytes& bytes) {
    switch (bytes.empty() ? WriteOutcome::Failed : WriteFileWhole(ArgumentPath(file), bytes)) {
    case WriteOutcome::Written:
        return true;
    case WriteOutcome::NotAFile:
        PrintText(file + ": not a regular file, left as it is");
        return false;
    case WriteOutcome::Failed:
        break;
    }
    PrintText(file + ": could not be written");
    return false;
}

int Run(const Inputs& in, bool preview) {
    const auto options = CheckConversionOptions(in.conversion);
    if (!options) {
        return kExitBadInput;
    }
    // Both targets are checked before anything is written, so a bad second one leaves no first.
    for (const std::string* target : {&in.out, preview ? &in.preview : nullptr}) {
        if (target != nullptr && !IsFileOrFree(ArgumentPath(*target))) {
            PrintText(*target + ": not a regular file, left as it is");
            return kExitBadInput;
        }
    }
    const auto dots = ConvertPictureFile(in.in, *options);
    if (!dots) {
        return kExitBadInput;
    }
    // Stopped while converting: nothing is written.
    if (CliStopToken().StopRequested()) {
        return kExitFailed;
    }
    const Bytes bmp = EncodeLogoBmp(*dots);
    if (!Write(in.out, bmp) || (preview && !Write(in.preview, EncodeLogoPng(*dots)))) {
        return kExitFailed;
    }
    std::cout << in.out << ": " << dots->width << " x " << dots->rows.height << " dots, "
              << bmp.size() << " bytes\n"
              << std::flush;
    return kExitDone;
}

} // namespace

std::function<int()> AddConvertCommand(CLI::App& logo) {
    auto in = std::make_shared<Inputs>();
    CLI::App* convert = logo.add_subcommand(
        "convert", "Turn a picture (PNG, JPEG, GIF, BMP, TGA, PNM) into a 1-bit BMP logo");
    convert->add_option("IN", in->in, "the picture")->required();
    convert->add_option("OUT", in->out, "the 1-bit BMP to write")->required();
    AddConversionOptions(*convert, in->conversion);
    CLI::Option* preview =
        convert->add_option("--preview", in->preview, "also write a PNG of the dots as they print")
            ->type_name("PNG");
    return
        [convert, preview, in] { return convert->parsed() ? Run(*in, preview->count() > 0) : -1; };
}

} // namespace tervan::cli
