#include "EmulatedUsbPrinter.h"
#include "bitmap/BitmapTransfer.h"
#include "bitmap/BmpBytes.h"
#include "link/PrinterLinks.h"
#include "protocol/ApplySettings.h"
#include "protocol/LinkMessages.h"
#include "support/RunProcess.h"

#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

// The USB link end to end: libusb against printers that umockdev emulates (see
// EmulatedUsbPrinter.h). Expected bytes are the printer's documented commands.
namespace tervan::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const AnsiCodePage kCodePage{"CP1252"};
const UsbDeviceLayout kPrinter{};
const UsbDeviceLayout kHub{0x1D6B, 0x0002, 9, {{0, 9, {{0x81, 3}}}}, "hub"};
const UsbDeviceLayout kMouse{0x046D, 0xC077, 0, {{0, 3, {{0x81, 3}}}}, "usbhid"};
// The printer's interface comes second, and its IN endpoint is listed before its OUT endpoint.
const UsbDeviceLayout kComposite{
    0x0483, 0x5720, 0, {{0, 3, {{0x81, 3}}}, {1, 7, {{0x82}, {0x02}}}}, ""};

const std::string kGoneLine =
    "The printer was disconnected (USB 0483:5720), please check the connection and try again";

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The pauses a conversation asked for; none is slept.
struct Pauses {
    std::vector<long> ms;
    PauseFn Fn() {
        return [this](std::chrono::milliseconds d) { ms.push_back(static_cast<long>(d.count())); };
    }
};

OpenResult OpenUsb(PrinterLinks& links) {
    links.SelectUsb(true);
    return links.Open("", {});
}

// 576 x 900 dots, 72-byte rows: 64,800 bytes of pixels. The order of the rows is the
// conversation's to prove; here each goes out as a transfer of its own.
std::filesystem::path WriteLogo(const TempDir& dir) {
    return dir.Write("logo.bmp", MakeBmp({.width = 576, .height = 900}, Bytes(64800, 0)));
}

ProcessResult Cli(const std::vector<std::string>& args) {
    return RunProcess(TERVAN_CLI_PATH, args,
                      {{"LANG", "C.UTF-8"}, {"LANGUAGE", "\x01"}, {"LC_ALL", "\x01"}});
}

TEST(UsbEmulated, FindsThePrinterAmongOtherDevices) {
    const struct {
        const char* name;
        std::vector<UsbDeviceLayout> devices;
        int printer; // which device gets the conversation; -1: none is found, -2: the first listed
        std::uint8_t interface;
        std::uint8_t out;
    } cases[] = {
        {"hub, mouse, printer", {kHub, kMouse, kPrinter}, 2, 0, 0x01},
        {"composite", {kMouse, kComposite}, 1, 1, 0x02},
        {"two printers: the first libusb lists", {kPrinter, kPrinter}, -2, 0, 0x01},
        {"no printer", {kHub, kMouse}, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UsbTestbed bed;
        std::vector<EmulatedUsbDevice*> devices;
        for (const UsbDeviceLayout& layout : c.devices) {
            devices.push_back(&bed.Add(layout));
        }
        int printer = c.printer;
        if (printer == -2) {
            const std::optional<UsbLocation> first = LocateUsbPrinter();
            ASSERT_TRUE(first);
            printer = first->device == devices[0]->Number() ? 0 : 1;
        }
        PrinterLinks links;
        const OpenResult open = OpenUsb(links);
        if (printer < 0) {
            EXPECT_EQ(open.outcome, OpenOutcome::UsbOpenFailed);
            EXPECT_EQ(open.cause, OpenCause::NotFound); // its words: Cli.LinkThatDoesNotOpen
            continue;
        }
        ASSERT_EQ(open.outcome, OpenOutcome::Opened);
        EXPECT_TRUE(devices[printer]->Seen().claimed[c.interface]);
        Pauses pauses;
        EXPECT_EQ(ApplySettings({}, kCodePage, links.ActivePort(), true, pauses.Fn()),
                  ApplyOutcome::Success);
        links.Close();
        for (std::size_t i = 0; i < devices.size(); ++i) {
            const bool taken = static_cast<int>(i) == printer;
            EXPECT_EQ(devices[i]->Seen().received,
                      (taken ? Bytes{0x1B, 0x06, 0x1B, 0x16} : Bytes{}))
                << "device " << i;
        }
        EXPECT_EQ(devices[printer]->Seen().outEndpoint, c.out);
        EXPECT_FALSE(devices[printer]->Seen().claimed[c.interface]);
    }
}

TEST(UsbEmulated, SetupConversation) {
    UsbTestbed bed;
    EmulatedUsbDevice& printer = bed.Add(kPrinter);
    PrinterLinks links;
    ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
    PrinterSettings settings;
    settings.manufacturer = {true, u"ABC"};
    settings.density = 3;
    Pauses pauses;
    EXPECT_EQ(ApplySettings(settings, kCodePage, links.ActivePort(), true, pauses.Fn()),
              ApplyOutcome::Success);
    EXPECT_EQ(printer.Seen().received, (Bytes{0x1B, 0x06, 0x1B, 0x24, 0x41, 0x42, 0x43, 0x00, 0x1B,
                                              0xFD, 0x03, 0x1B, 0x16}));
    EXPECT_EQ(printer.Seen().outTransfers, (std::vector<std::size_t>{2, 2, 3, 1, 3, 2}));
    EXPECT_EQ(pauses.ms, (std::vector<long>{100, 30})); // the reply, then the text on USB
}

// Two printers at once, each named by the place it is plugged in; a place with no printer is
// reported as such.
TEST(UsbEmulated, TwoPrintersByTheirPlaces) {
    UsbTestbed bed;
    EmulatedUsbDevice& first = bed.Add(kPrinter);
    bed.Add(kMouse);
    EmulatedUsbDevice& second = bed.Add(kPrinter);
    const ProcessResult ports = Cli({"ports"});
    EXPECT_NE(ports.out.find("usb:1-2: 0483:5720 on bus 1 device 2\n"), std::string::npos)
        << ports.out;
    EXPECT_NE(ports.out.find("usb:1-4: 0483:5720 on bus 1 device 4\n"), std::string::npos)
        << ports.out;
    const ProcessResult run =
        Cli({"apply", "--port", "usb:1-4", "--port", "usb:1-2", "--density", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    for (const EmulatedUsbDevice* printer : {&first, &second}) {
        EXPECT_EQ(printer->Seen().received, (Bytes{0x1B, 0x06, 0x1B, 0xFD, 0x03, 0x1B, 0x16}));
    }
    const ProcessResult missing = Cli({"apply", "--port", "usb:1-3"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_EQ(missing.err,
              "Port open failed, please check\nusb:1-3: no printer found (0483:5720)\n");
}

TEST(UsbEmulated, LogoDownloadAndPrint) {
    UsbTestbed bed;
    EmulatedUsbDevice& printer = bed.Add(kPrinter);
    const TempDir dir;
    const LoadResult logo = LoadBitmapFile(WriteLogo(dir));
    PrinterLinks links;
    ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
    Pauses pauses;
    EXPECT_EQ(DownloadBitmap(links.ActivePort(), 8, logo, pauses.Fn()).outcome,
              DownloadOutcome::Stored);
    EXPECT_TRUE(PrintBitmap(links.ActivePort(), 8));

    const Bytes received = printer.Seen().received;
    ASSERT_EQ(received.size(), 9u + 64800 + 7);
    EXPECT_EQ(Bytes(received.begin(), received.begin() + 9),
              (Bytes{0x1B, 0x06, 0x1B, 0xFF, 0x08, 0x48, 0x00, 0x84, 0x03}));
    EXPECT_EQ(Bytes(received.end() - 7, received.end()),
              (Bytes{0x1B, 0x16, 0x1B, 0x16, 0x1C, 0x50, 0x08}));
    std::vector<std::size_t> transfers{2, 7};
    transfers.insert(transfers.end(), 900, 72);
    transfers.insert(transfers.end(), {2, 2, 3});
    EXPECT_EQ(printer.Seen().outTransfers, transfers);
    EXPECT_EQ(pauses.ms, (std::vector<long>{500, 500}));
}

TEST(UsbEmulated, BusyInterfaceAndKernelDriver) {
    {
        UsbTestbed bed;
        bed.Add(kPrinter).SetFault(Fault::ClaimBusy);
        PrinterLinks links;
        const OpenResult open = OpenUsb(links);
        EXPECT_EQ(open.outcome, OpenOutcome::UsbOpenFailed);
        EXPECT_EQ(open.cause, OpenCause::Busy);
        EXPECT_EQ(OpenFailureMessages(open, "", Language::English).at(0).text,
                  "Port open failed, please check\nUSB: in use by another program");
        EXPECT_EQ(OpenFailureHint(open, true, Language::English),
                  "Hint: another program (a print service such as CUPS, for instance) is using "
                  "the printer; wait until it has finished or stop it, then try again.");
    }
    UsbDeviceLayout bound = kPrinter;
    bound.driver = "usblp";
    UsbTestbed bed;
    EmulatedUsbDevice& printer = bed.Add(bound);
    PrinterLinks links;
    ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
    EXPECT_EQ(printer.Seen().drivers[0], "");
    EXPECT_TRUE(printer.Seen().claimed[0]);
    Pauses pauses;
    EXPECT_EQ(ApplySettings({}, kCodePage, links.ActivePort(), true, pauses.Fn()),
              ApplyOutcome::Success);
    links.Close();
    EXPECT_EQ(printer.Seen().drivers[0], "usblp");
    EXPECT_FALSE(printer.Seen().claimed[0]);
}

// Each read waits its time-out (210 ms for the two bytes), the process idle meanwhile.
TEST(UsbEmulatedSilent, NoReplyWithinTheReadTimeOutsWithoutBusyWaiting) {
    UsbTestbed bed;
    EmulatedUsbDevice& printer = bed.Add(kPrinter);
    printer.SetFault(Fault::Silent);
    PrinterLinks links;
    ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
    Pauses pauses;
    const double cpuBefore = CpuSeconds();
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(ApplySettings({}, kCodePage, links.ActivePort(), true, pauses.Fn()),
              ApplyOutcome::NoReply);
    const auto elapsed = Clock::now() - start;
    const double cpu = CpuSeconds() - cpuBefore;
    EXPECT_EQ(printer.Seen().received, (Bytes{0x1B, 0x06, 0x1B, 0x16}));
    EXPECT_EQ(pauses.ms, std::vector<long>(49, 100));
    EXPECT_GE(elapsed, 49 * 210ms);
    EXPECT_LE(elapsed, 49 * 310ms);
    EXPECT_LT(cpu, 1.5) << "busy waiting: " << cpu << " s of CPU time";
    std::printf("silent printer: %.2f s, CPU %.3f s\n",
                std::chrono::duration<double>(elapsed).count(), cpu);
}

// Unplugged in the middle of a long write: CommandLineDownloadUnplugged.
TEST(UsbEmulated, UnpluggedPrinterEndsTheConversationAtOnce) {
    const struct {
        const char* name;
        bool whileWaitingForTheReply;
        Bytes received; // what the printer got before it vanished
        std::vector<long> pauses;
    } cases[] = {
        {"before a write", false, {}, {}},
        {"while the reply is awaited", true, {0x1B, 0x06}, {100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        UsbTestbed bed;
        EmulatedUsbDevice& printer = bed.Add(kPrinter);
        PrinterLinks links;
        ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
        Link& link = links.ActivePort();
        Pauses pauses;
        const double cpuBefore = CpuSeconds();
        if (c.whileWaitingForTheReply) {
            printer.SetFault(Fault::UnplugOnRead);
        } else {
            printer.Unplug();
        }
        PrinterSettings settings;
        settings.density = 3;
        EXPECT_EQ(ApplySettings(settings, kCodePage, link, true, pauses.Fn()),
                  ApplyOutcome::DeviceGone);
        const Clock::time_point ended = Clock::now();
        const double cpu = CpuSeconds() - cpuBefore;
        ASSERT_TRUE(printer.Seen().unpluggedAt);
        EXPECT_LT(ended - *printer.Seen().unpluggedAt, 1s);
        EXPECT_LT(cpu, 1.0);
        EXPECT_EQ(printer.Seen().received, c.received);
        EXPECT_EQ(pauses.ms, c.pauses); // no closing pause: nothing can reach the printer
        EXPECT_TRUE(link.DeviceGone());
        // Every later transfer fails at once.
        const Clock::time_point later = Clock::now();
        std::uint8_t reply[2];
        EXPECT_EQ(link.Write(Bytes{0x1B, 0x16}), 0u);
        EXPECT_EQ(link.Read(reply), 0u);
        EXPECT_LT(Clock::now() - later, 100ms);
        EXPECT_EQ(printer.Seen().received, c.received);
        const auto* usb = dynamic_cast<const CUSBPort*>(&link);
        ASSERT_NE(usb, nullptr);
        EXPECT_EQ(usb->FailureCause(), OpenCause::DeviceGone);
    }
}

// The acceptance run: the command line loses the printer 30,000 bytes into a 64,800-byte logo.
TEST(UsbEmulated, CommandLineDownloadUnplugged) {
    UsbTestbed bed;
    EmulatedUsbDevice& printer = bed.Add(kPrinter);
    printer.UnplugAfter(30000);
    const TempDir dir;
    const ProcessResult run =
        Cli({"logo", "download", "--port", "usb", "--slot", "8", WriteLogo(dir).string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Download bitmap failed\n" + kGoneLine + "\n");
    EXPECT_EQ(printer.Seen().received.size(), 30000u);
    ASSERT_TRUE(printer.Seen().unpluggedAt);
    const double afterUnplug =
        std::chrono::duration<double>(run.ended - *printer.Seen().unpluggedAt).count();
    EXPECT_LT(afterUnplug, 1.0);
    EXPECT_LT(run.cpuSeconds, 1.0) << "busy waiting";
    std::printf("unplugged download: ended %.3f s after the unplug, CPU time %.3f s\n", afterUnplug,
                run.cpuSeconds);
}

TEST(UsbEmulated, StopEndsAWaitOnAPrinterThatTakesNothing) {
    UsbTestbed bed;
    bed.Add(kPrinter).SetFault(Fault::StopsReading);
    PrinterLinks links;
    ASSERT_EQ(OpenUsb(links).outcome, OpenOutcome::Opened);
    StopToken stop;
    links.SetStopCheck([&stop] { return stop.StopRequested(); });
    std::thread cancel([&stop] {
        std::this_thread::sleep_for(100ms);
        stop.RequestStop();
    });
    const Clock::time_point start = Clock::now();
    EXPECT_EQ(links.ActivePort().Write(Bytes{0x1B, 0x06}), 0u);
    const auto elapsed = Clock::now() - start;
    cancel.join();
    // The stop, then half a second of grace: far from the 10 s a stalled write waits otherwise.
    EXPECT_GE(elapsed, 600ms);
    EXPECT_LT(elapsed, 2s);
    EXPECT_FALSE(links.ActivePort().DeviceGone());
    links.SetStopCheck({});
}

} // namespace
} // namespace tervan::test

// Under the preload library the test bed stands in for the machine's devices; without it libusb
// would reach the real bus, so the tests are skipped.
int main(int argc, char** argv) {
    bool mocked = false;
    {
        const tervan::test::UsbTestbed probe;
        mocked = tervan::test::UsbTestbed::Mocked();
    }
    if (!mocked) {
        std::fprintf(stderr, "not run under umockdev-wrapper: skipped\n");
        return 77;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
