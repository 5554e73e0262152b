#include "support/RunProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

namespace tervan::test {
namespace {

namespace fs = std::filesystem;

// The first bytes of a PNG file, then the length and type of its header chunk.
const std::string kPngStart{"\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16};

std::string Head(const fs::path& file, std::size_t count) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// The window's own options, as a user gives them: which port it starts on, the virtual printer
// inside it, and the screenshot it renders instead of showing itself.
TEST(WindowOptions, PortDemoAndScreenshot) {
    const TempDir dir;
    const fs::path shot = dir.Path() / "window.png";
    // The toolkit's runtime folder, as private as it wants it, so that it has nothing to say.
    const fs::path runtime = dir.Path() / "runtime";
    fs::create_directory(runtime);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    const std::string demoLine =
        R"(tervan: a virtual printer listens on (/dev/pts/\d+) \(selected in the port list\)\n)";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        // The port the driven window reports ("demo": the virtual printer's path); empty: the
        // program itself runs, and renders a screenshot unless it fails.
        std::string selected;
        std::string err; // a regular expression for the whole of standard error
    } cases[] = {
        {{"--port", "/dev/ttyTERVAN9"}, 0, "/dev/ttyTERVAN9", ""},
        {{"--port", "usb"}, 0, "USB", ""},
        {{"--demo"}, 0, "demo", demoLine},
        {{"--demo", "--port", "/dev/ttyTERVAN9", "--screenshot", shot.string()}, 0, "", demoLine},
        {{"--screenshot", "/nonexistent/window.png"},
         1,
         "",
         R"(tervan: cannot write the screenshot /nonexistent/window\.png\n)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        fs::remove(shot);
        const bool reporting = !c.selected.empty();
        const bool png = !reporting && c.exitCode == 0;
        const ProcessResult r =
            RunProcess(reporting ? TERVAN_DRIVEN_WINDOW : TERVAN_WINDOW_PATH, c.args,
                       {{"QT_QPA_PLATFORM", "offscreen"},
                        {"LANG", "C.UTF-8"},
                        {"TERVAN_DRIVE", "report"},
                        {"XDG_RUNTIME_DIR", runtime.string()}});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
        std::smatch demo;
        EXPECT_TRUE(std::regex_match(r.err, demo, std::regex(c.err))) << r.err;
        if (reporting) {
            const std::string port = c.selected == "demo" ? demo[1].str() : c.selected;
            // The given port comes right after "USB", the list's first entry, and is selected.
            const std::string items = port == "USB" ? "USB" : "USB|" + port;
            EXPECT_TRUE(r.out.starts_with("selected: " + port + "\nitems: " + items)) << r.out;
        }
        EXPECT_EQ(fs::exists(shot), png);
        if (png) {
            EXPECT_EQ(Head(shot, kPngStart.size()), kPngStart);
            EXPECT_GT(fs::file_size(shot), 1000u);
        }
    }
}

} // namespace
} // namespace tervan::test
