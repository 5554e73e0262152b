#include "app/win32/AccessibleNamesWin32.h"
#include "app/win32/DotsControlWin32.h"
#include "app/win32/TervanDlg.h"
#include "base/WideTextWin32.h"
#include "bitmap/StbCodec.h"
#include "form/ControlIds.h"
#include "form/FormState.h"
#include "support/ExpectedNames.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

namespace tervan {
namespace {

// Answers the window's boxes and file chooser, and keeps what they showed.
class RecordingHost : public CDialogHost {
public:
    struct Box {
        HWND owner;
        std::wstring text;
        std::optional<std::wstring> caption;
        MessageIcon icon;
    };
    std::vector<Box> boxes;
    std::optional<std::filesystem::path> file;
    std::size_t filter = 0;

    void MessageBox(HWND owner, const std::wstring& text,
                    const std::optional<std::wstring>& caption, MessageIcon icon) override {
        boxes.push_back({owner, text, caption, icon});
    }
    std::optional<ChosenFile> ChooseFile(HWND, const std::wstring&, const std::wstring&,
                                         const std::wstring&, bool) override {
        return file ? std::optional<ChosenFile>({*file, filter}) : std::nullopt;
    }
};

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::optional<std::string> Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::optional<std::string>(value) : std::nullopt;
}

class TervanDlgWin32 : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
    void SetUp() override {
        m_dialog = std::make_unique<CTervanDlg>(m_host, OpeningFormState({}, SystemAnsiCodePage()));
        ASSERT_NE(m_dialog->Create(), nullptr);
    }

    HWND Dialog() const { return m_dialog->GetSafeHwnd(); }
    HWND Item(int id) const { return m_dialog->Control(id); }

    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void Select(int id, int index) {
        ::SendMessageW(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(Item(id)));
    }
    void SetText(int id, const wchar_t* text) {
        ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    }
    int Selection(int id) const {
        return static_cast<int>(::SendMessageW(Item(id), CB_GETCURSEL, 0, 0));
    }

    RecordingHost m_host;
    std::unique_ptr<CTervanDlg> m_dialog;
};

TEST_F(TervanDlgWin32, ControlsAsTheTemplateMakesThem) {
    EXPECT_FALSE(::IsWindowVisible(Item(Ctl::OpenClose)));
    EXPECT_TRUE(::IsWindowVisible(Item(Ctl::Set)));
    EXPECT_EQ(::SendMessageW(Item(Ctl::BtName), EM_GETLIMITTEXT, 0, 0), 40);
    EXPECT_EQ(::SendMessageW(Item(Ctl::BtPassword), EM_GETLIMITTEXT, 0, 0), 4);
    EXPECT_EQ(Selection(Ctl::PortList), 1);
    EXPECT_EQ(WindowText(Dialog()), L"Tervan V2.0");
}

std::wstring ClassName(HWND hwnd) {
    wchar_t name[32] = {};
    ::GetClassNameW(hwnd, name, 32);
    return name;
}

// Each control is named by the label right before it, by its own caption, or through the
// property service (which Wine does not keep, so only the asking is seen here).
TEST_F(TervanDlgWin32, EveryControlHasItsName) {
    const std::vector<GivenName> given = GivenNames(MainDialogTemplate());
    for (const test::ExpectedName& expected : test::kExpectedNames) {
        const std::wstring name = WidenUtf8(expected.name);
        HWND control = Item(expected.id);
        HWND before = ::GetWindow(control, GW_HWNDPREV);
        const bool byLabel = ClassName(before) == L"Static" && WindowText(before) == name;
        const bool byCaption = ClassName(control) == L"Button" && WindowText(control) == name;
        const bool byProperty = std::ranges::any_of(
            given, [&](const GivenName& g) { return g.id == expected.id && g.name == name; });
        EXPECT_TRUE(byLabel || byCaption || byProperty) << expected.id;
    }
}

// The form's rules run from the window's own notifications: a click, a selection, typed text (the
// box a letter brings is the window's, with no caption).
TEST_F(TervanDlgWin32, RulesDrivenByWindowMessages) {
    Click(Ctl::ManufacturerCheck);
    EXPECT_TRUE(::IsWindowEnabled(Item(Ctl::Manufacturer)));
    Select(Ctl::BuzzerError, 1);
    EXPECT_EQ(Selection(Ctl::BuzzerCut), 1);
    SetText(Ctl::BtPassword, L"12a");
    EXPECT_EQ(WindowText(Item(Ctl::BtPassword)), L"12");
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].text, L"只能输入数字");
    EXPECT_EQ(m_host.boxes[0].owner, Dialog());
    EXPECT_FALSE(m_host.boxes[0].caption.has_value());
}

TEST_F(TervanDlgWin32, EnterAndEscEndTheDialog) {
    for (const WPARAM key : {VK_RETURN, VK_ESCAPE}) {
        SetUp();
        HWND dialog = Dialog();
        MSG message{Item(Ctl::PortList), WM_KEYDOWN, key, 0, 0, {}};
        ::IsDialogMessageW(dialog, &message);
        EXPECT_FALSE(::IsWindow(dialog)) << key;
    }
}

// The about box, found and closed from inside its own modal loop.
std::wstring g_aboutButton;
void CALLBACK CloseAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND about = ::FindWindowW(L"#32770", L"关于 Tervan")) {
        ::KillTimer(nullptr, timer);
        g_aboutButton = WindowText(::GetDlgItem(about, IDOK));
        ::PostMessageW(about, WM_COMMAND, IDOK, 0);
    }
}

TEST_F(TervanDlgWin32, AboutBoxFromTheSystemMenu) {
    wchar_t item[64] = {};
    ::GetMenuStringW(::GetSystemMenu(Dialog(), FALSE), 0x0010, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"关于 Tervan(&A)...");
    ::GetMenuStringW(::GetSystemMenu(Dialog(), FALSE), Ctl::LoadProfile, item, 64, MF_BYCOMMAND);
    EXPECT_EQ(std::wstring(item), L"载入配置(&L)…");
    g_aboutButton.clear();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CloseAbout);
    ::SendMessageW(Dialog(), WM_SYSCOMMAND, 0x0010, 0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(g_aboutButton, L"确定");
}

// String `id` of the program's string table resource in `language`; empty when it has none.
std::wstring ResourceString(unsigned id, LANGID language) {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC info = ::FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */,
                                   MAKEINTRESOURCEW(id / 16 + 1), language);
    if (info == nullptr) {
        return {};
    }
    // A block of 16 strings, each a length and that many UTF-16 units.
    const auto* data = static_cast<const WORD*>(::LockResource(::LoadResource(module, info)));
    for (unsigned i = 0; i < id % 16; ++i) {
        data += 1 + *data;
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(data + 1), *data);
}

TEST(ResourceStrings, BothTablesFromTheProgramsTexts) {
    const LANGID chinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
    const LANGID english = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    struct Case {
        unsigned id;
        LANGID language;
        const wchar_t* expected;
    } cases[] = {
        {101, chinese, L"关于 Tervan(&A)..."}, {107, chinese, L"设置成功,重新启动后生效"},
        {113, chinese, L"文件尺寸应小于64k"},  {119, english, L"Faill"},
        {111, english, L"Open bitmap file"},   {136, english, L"&Load profile…"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResourceString(c.id, c.language), c.expected) << c.id;
    }
}

// The printer's log as upper-case hex pairs, once `count` bytes have come (or after 5 s).
std::string PrinterBytes(const std::string& log, std::size_t offset, std::size_t count) {
    std::vector<unsigned char> bytes;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::ifstream in(log, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        if (bytes.size() >= offset + count) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::string hex;
    for (std::size_t i = offset; i < bytes.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof(pair), hex.empty() ? "%02X" : " %02X", bytes[i]);
        hex += pair;
    }
    return hex;
}

std::size_t FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<std::size_t>(in.tellg()) : 0;
}

// The operations from the form against the printer linked as COM5 (set up by window.sh, which
// names the printer's log and the test data in the environment).
TEST_F(TervanDlgWin32, OperationsOverCom5) {
    const auto log = Env("TERVAN_COM5_LOG");
    const auto data = Env("TERVAN_TEST_DATA");
    if (!log || !data) {
        GTEST_SKIP() << "no printer on COM5";
    }
    struct Case {
        const char* name;
        std::function<void(TervanDlgWin32&)> fill;
        int button;
        std::string bytes;
        std::vector<std::pair<std::wstring, std::wstring>> boxes;
    } cases[] = {
        {"apply, default form",
         [](TervanDlgWin32&) {},
         Ctl::Set,
         "1B 06 1B 16",
         {{L"设置成功,重新启动后生效", L"成功"}}},
        {"apply, controls changed with and without their notifications",
         [](TervanDlgWin32& t) {
             t.Select(Ctl::CodePage, 48);
             t.Click(Ctl::ManufacturerCheck);
             t.SetText(Ctl::Manufacturer, L"ABC");
             // As a drop-down closed with Esc, or a check set by an assistive tool, leaves them.
             ::SendMessageW(t.Item(Ctl::Density), CB_SETCURSEL, 1, 0);
             ::SendMessageW(t.Item(Ctl::ModelCheck), BM_SETCHECK, BST_CHECKED, 0);
             t.SetText(Ctl::Model, L"M1");
         },
         Ctl::Set,
         "1B 06 1B 74 2F 1B 24 41 42 43 00 1B 25 4D 31 00 1B FD 00 1B 16",
         {{L"设置成功,重新启动后生效", L"成功"}}},
        {"apply, that form saved as a profile from the system menu and loaded into a fresh one",
         [](TervanDlgWin32& t) {
             t.m_host.file = std::filesystem::temp_directory_path() / "tervan-shop.toml";
             ::SendMessageW(t.Dialog(), WM_SYSCOMMAND, Ctl::SaveProfile, 0);
             t.SetUp(); // on COM1 until the profile names COM5
             ::SendMessageW(t.Dialog(), WM_SYSCOMMAND, Ctl::LoadProfile, 0);
             std::filesystem::remove(*t.m_host.file);
         },
         Ctl::Set,
         "1B 06 1B 74 2F 1B 24 41 42 43 00 1B 25 4D 31 00 1B FD 00 1B 16",
         {{L"设置成功,重新启动后生效", L"成功"}}},
        {"logo download to slot 2",
         [&data](TervanDlgWin32& t) {
             t.Select(Ctl::BitmapSlot, 2);
             t.m_host.file = std::filesystem::path(*data) / "logo-13x7-netpbm.bmp";
         },
         Ctl::DownloadBitmap,
         "1B 06 1B FF 02 04 00 07 00 81 08 00 00 46 18 00 00 10 A8 00 00 61 88 00 00 0A 48 00 00 "
         "08 10 00 00 62 58 00 00 1B 16 1B 16",
         {{L"下载位图成功", L"提示"}}},
        {"logo print of slot 2",
         [](TervanDlgWin32& t) { t.Select(Ctl::BitmapSlot, 2); },
         Ctl::PrintBitmap,
         "1C 50 02",
         {}},
    };
    Select(Ctl::PortList, 5); // "COM5"
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name); // in this order, each case adds to the form the one before left
        c.fill(*this);
        const std::size_t before = FileSize(*log);
        Click(c.button);
        EXPECT_EQ(PrinterBytes(*log, before, (c.bytes.size() + 1) / 3), c.bytes);
        ASSERT_EQ(m_host.boxes.size(), c.boxes.size());
        for (std::size_t i = 0; i < c.boxes.size(); ++i) {
            EXPECT_EQ(m_host.boxes[i].text, c.boxes[i].first);
            EXPECT_EQ(m_host.boxes[i].caption, c.boxes[i].second);
            EXPECT_EQ(m_host.boxes[i].owner, Dialog());
            EXPECT_EQ(m_host.boxes[i].icon, MessageIcon::Information);
        }
        // Closed again after the box, and the title says so.
        EXPECT_FALSE(m_dialog->Form().Connected());
        EXPECT_EQ(WindowText(Dialog()), L"Tervan V2.0_连接关闭");
        EXPECT_TRUE(::IsWindowEnabled(Item(Ctl::PortList)));
        m_host.boxes.clear();
    }
}

HWND g_mainDialog = nullptr;

// Drives the preview from inside its modal loop: notes the dots' width at 72 mm, chooses 58 mm,
// notes the dots again and the dark pixels the control shows across its middle, then presses OK.
struct PreviewWatch {
    std::vector<int> sizes;
    int drawn = 0;
};
PreviewWatch g_preview;

void CALLBACK DrivePreview(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND preview = ::GetLastActivePopup(g_mainDialog);
    HWND view = ::GetDlgItem(preview, Ctl::PreviewDots);
    const auto dots = view != nullptr ? GetDots(view) : nullptr;
    if (!dots || (!g_preview.sizes.empty() && dots->width == g_preview.sizes.front())) {
        return;
    }
    g_preview.sizes.push_back(dots->width);
    HWND paper = ::GetDlgItem(preview, Ctl::PaperList);
    if (g_preview.sizes.size() == 1) {
        ::SendMessageW(paper, CB_SETCURSEL, 0, 0);
        ::SendMessageW(preview, WM_COMMAND, MAKEWPARAM(Ctl::PaperList, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(paper));
        return;
    }
    ::KillTimer(nullptr, timer);
    g_preview.sizes.push_back(dots->rows.height);
    ::UpdateWindow(preview);
    RECT area{};
    ::GetClientRect(view, &area);
    HDC dc = ::GetDC(view);
    for (int y = area.bottom / 2 - 8; y < area.bottom / 2 + 8; ++y) {
        for (int x = 0; x < area.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            g_preview.drawn += GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64;
        }
    }
    ::ReleaseDC(view, dc);
    ::PostMessageW(preview, WM_COMMAND, IDOK, 0);
}

// A black picture 600 x 4 chosen through the pictures' filter: the preview shows 576 dots at
// 72 mm, 384 x 3 at 58 mm drawn one pixel a dot, and OK stores them on the printer on COM5.
TEST_F(TervanDlgWin32, PictureThroughThePreview) {
    const auto log = Env("TERVAN_COM5_LOG");
    if (!log) {
        GTEST_SKIP() << "no printer on COM5";
    }
    const std::vector<std::uint8_t> black(600 * 4, 0);
    const std::vector<std::uint8_t> png = stb::EncodeGreyPng(black.data(), 600, 4);
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "tervan-black.png";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    Select(Ctl::PortList, 5); // "COM5"
    Select(Ctl::BitmapSlot, 3);
    m_host.file = file;
    m_host.filter = 1;
    g_mainDialog = Dialog();
    const std::size_t before = FileSize(*log);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &DrivePreview);
    Click(Ctl::DownloadBitmap);
    ::KillTimer(nullptr, timer);

    EXPECT_EQ(g_preview.sizes, (std::vector<int>{576, 384, 3}));
    EXPECT_EQ(g_preview.drawn, 384 * 3);
    EXPECT_EQ(PrinterBytes(*log, before, 9).substr(0, 26), "1B 06 1B FF 03 30 00 03 00");
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].text, L"下载位图成功");
    std::filesystem::remove(file);
}

TEST_F(TervanDlgWin32, PortThatCannotBeOpened) {
    Select(Ctl::PortList, 19); // "COM19": nothing behind it
    Click(Ctl::Set);
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].text, L"连接失败");
    EXPECT_EQ(m_host.boxes[0].caption, L"错误");
    EXPECT_EQ(m_host.boxes[0].owner, Dialog());
    EXPECT_EQ(WindowText(Item(Ctl::OpenClose)), L"打开");
    EXPECT_EQ(WindowText(Dialog()), L"Tervan V2.0");
    EXPECT_TRUE(::IsWindowEnabled(Item(Ctl::PortList)));
}

// Presses Cancel in the progress window once it shows the wait for "OK".
bool g_cancelled = false;
void CALLBACK CancelWhileWaiting(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND progress = ::GetLastActivePopup(g_mainDialog);
    if (progress != g_mainDialog &&
        WindowText(::GetDlgItem(progress, 1101)).find(L"OK") != std::wstring::npos) {
        ::KillTimer(nullptr, timer);
        g_cancelled = true;
        ::PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
    }
}

TEST_F(TervanDlgWin32, CancelWhileWaitingForOk) {
    const auto log = Env("TERVAN_COM6_LOG");
    if (!log) {
        GTEST_SKIP() << "no silent printer on COM6";
    }
    Select(Ctl::PortList, 6); // "COM6"
    g_cancelled = false;
    g_mainDialog = Dialog();
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CancelWhileWaiting);
    Click(Ctl::Set);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_cancelled);
    // Setup mode is left all the same, and the apply reports its failure.
    EXPECT_EQ(PrinterBytes(*log, 0, 4), "1B 06 1B 16");
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].text, L"设置失败，请检测");
    EXPECT_EQ(m_host.boxes[0].caption, L"失败");
    EXPECT_FALSE(m_dialog->Form().Connected());
}

// The progress window of this thread, by its bar; null when none is shown.
HWND ProgressWindow() {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            if (::IsWindowVisible(hwnd) && ::GetDlgItem(hwnd, 1102) != nullptr) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Cancels the download once the printer has 8,000 bytes; once the window says the blank rows go
// out, notes whether its Cancel is disabled and closes it.
struct FillWatch {
    std::string log;
    std::size_t before = 0; // the log's size when the download starts
    bool cancelled = false;
    bool sawFilling = false;
};
FillWatch g_fill;

void CALLBACK WatchTheFill(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND progress = ProgressWindow();
    if (progress == nullptr || FileSize(g_fill.log) - g_fill.before < 8000) {
        return;
    }
    if (!g_fill.cancelled) {
        g_fill.cancelled = true;
        ::PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
    } else if (WindowText(::GetDlgItem(progress, 1101)).starts_with(L"正在用空白行补齐位图")) {
        g_fill.sawFilling = !::IsWindowEnabled(::GetDlgItem(progress, IDCANCEL));
        ::KillTimer(nullptr, timer);
        ::PostMessageW(progress, WM_CLOSE, 0, 0);
    }
}

// A printer on COM7 that reads 20,000 bytes a second, a 576 x 900 logo (64,800 bytes promised by
// StoreBitmap), Cancel after 8,000 bytes and the window closed while the blank rows go out: they
// are given up, and the printer is left in setup mode.
TEST_F(TervanDlgWin32, CancelPartWayThroughALogo) {
    const auto log = Env("TERVAN_COM7_LOG");
    if (!log) {
        GTEST_SKIP() << "no slow printer on COM7";
    }
    // A 1-bit BMP, white first in its palette, every dot black.
    std::vector<unsigned char> bmp{'B', 'M', 0x5E, 0xFD, 0,    0, 0, 0,    0,    0, 62, 0, 0, 0, 40,
                                   0,   0,   0,    0x40, 0x02, 0, 0, 0x84, 0x03, 0, 0,  1, 0, 1, 0};
    bmp.resize(54, 0);
    bmp.insert(bmp.end(), {0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0});
    bmp.resize(62 + 64800, 0xFF);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "tervan-576x900.bmp";
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));

    Select(Ctl::PortList, 7); // "COM7"
    Select(Ctl::BitmapSlot, 3);
    m_host.file = file;
    g_fill = {*log, FileSize(*log)};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, &WatchTheFill);
    Click(Ctl::DownloadBitmap);
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_fill.sawFilling);

    // What the line still holds arrives after the link has closed.
    EXPECT_EQ(PrinterBytes(*log, g_fill.before, 9).substr(0, 26), "1B 06 1B FF 03 48 00 84 03");
    std::size_t size = 0;
    for (int i = 0; i < 40 && size != FileSize(*log); ++i) {
        size = FileSize(*log);
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_GE(size - g_fill.before, 9u + 8000);
    EXPECT_LT(size - g_fill.before, 9u + 64800);
    ASSERT_EQ(m_host.boxes.size(), 1u);
    EXPECT_EQ(m_host.boxes[0].text, L"打印机仍处于设置模式，请关闭打印机电源后重新打开");
    EXPECT_EQ(m_host.boxes[0].caption, L"提示");
    EXPECT_FALSE(m_dialog->Form().Connected());
    std::filesystem::remove(file);
}

} // namespace
} // namespace tervan
