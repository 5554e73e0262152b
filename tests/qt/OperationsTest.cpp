#include "app/qt/ProgressDlg.h"
#include "app/qt/TervanDlg.h"
#include "form/ControlIds.h"
#include "sim/VirtualPrinter.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace tervan {
namespace {

using namespace std::chrono_literals;
using sim::ReplyMode;

// Answers every box and the file chooser, and notes whether the link was open meanwhile.
class AnsweringHost : public CDialogHost {
public:
    struct Box {
        QString text;
        QString caption;
        MessageIcon icon;
        bool owned;
        bool linkOpen;
    };

    void MessageBox(QWidget* owner, const QString& text, const std::optional<QString>& caption,
                    MessageIcon icon) override {
        m_boxes.push_back({text, caption.value_or(QString()), icon, owner != nullptr,
                           m_dialog != nullptr && m_dialog->m_bConnected});
    }
    std::optional<std::filesystem::path> ChooseFile(QWidget*, const QString& title,
                                                    const QString& filter,
                                                    const QString& suffix) override {
        m_chooser = {title, filter, suffix};
        m_linkOpenWhileChoosing = m_dialog != nullptr && m_dialog->m_bConnected;
        return m_file;
    }
    int RunModal(QDialog& dialog) override { return dialog.exec(); }

    QStringList Texts() const {
        QStringList texts;
        for (const Box& box : m_boxes) {
            texts.push_back(box.text);
        }
        return texts;
    }

    CTervanDlg* m_dialog = nullptr;
    std::vector<Box> m_boxes;
    std::optional<std::filesystem::path> m_file;
    QStringList m_chooser;
    bool m_linkOpenWhileChoosing = false;
};

// A window whose port list holds a virtual printer on a pseudo-terminal, selected; its pauses are
// recorded, not slept.
struct Rig {
    explicit Rig(ReplyMode reply, std::string port = {}) : printer({.reply = reply}) {
        if (port.empty()) {
            printer.Start();
            port = printer.SlavePath();
        }
        dialog = std::make_unique<CTervanDlg>(
            host, InitialFormState({"USB", port}, AnsiCodePage{"CP936"}));
        host.m_dialog = dialog.get();
        dialog->SetPauseMaker([this](const StopToken&) {
            return [this](std::chrono::milliseconds d) {
                {
                    const std::lock_guard lock(mutex);
                    pauses.push_back(static_cast<int>(d.count()));
                }
                // Holds the worker until the test has looked at the window.
                const auto until = std::chrono::steady_clock::now() + 5s;
                while (hold && std::chrono::steady_clock::now() < until) {
                    std::this_thread::sleep_for(1ms);
                }
            };
        });
        dialog->show();
    }

    template <typename W> W* Get(int id) const { return qobject_cast<W*>(dialog->Control(id)); }
    void Press(int id) const { Get<QPushButton>(id)->click(); }
    void Select(int id, int index) const { Get<QComboBox>(id)->setCurrentIndex(index); }
    void Check(int id) const { QTest::mouseClick(Get<QCheckBox>(id), Qt::LeftButton); }
    void Type(int id, const QString& text) const { Get<QLineEdit>(id)->setText(text); }

    std::vector<bool> PortControlsEnabled() const {
        std::vector<bool> enabled;
        for (int id :
             {Ctl::PortList, Ctl::BaudRate, Ctl::Parity, Ctl::DataBits, Ctl::FlowControl}) {
            enabled.push_back(dialog->Control(id)->isEnabled());
        }
        return enabled;
    }

    // Everything the printer received, once the closing click has let go of the line.
    Bytes Received(std::size_t atLeast) const {
        printer.WaitForBytes(atLeast, 2s);
        return printer.Received();
    }

    sim::VirtualPrinter printer;
    AnsweringHost host;
    std::unique_ptr<CTervanDlg> dialog;
    std::mutex mutex;
    std::vector<int> pauses;
    std::atomic<bool> hold{false};
};

// While a conversation runs: calls `act` with the progress window once `ready` says so.
void WhileRunning(QObject* owner, std::function<bool()> ready,
                  std::function<void(CProgressDlg&)> act) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, ready, act] {
        auto* progress = qobject_cast<CProgressDlg*>(QApplication::activeModalWidget());
        if (progress != nullptr && ready()) {
            timer->stop();
            act(*progress);
        }
    });
    timer->start(5);
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const QString kSetSuccess = QStringLiteral("设置成功,重新启动后生效");
const QString kSetFailed = QStringLiteral("设置失败，请检测");

} // namespace

class OperationsTest : public QObject {
    Q_OBJECT

private slots:
    void FailedOpensShowOnlyTheirOwnBoxes() {
        struct Case {
            const char* name;
            std::string port; // "USB": the USB link, with no printer attached
            QStringList texts;
            QStringList captions;
            std::vector<MessageIcon> icons;
            std::vector<bool> owned;
            QString titleSuffix; // empty: the title stays
        };
        const Case cases[] = {
            {"serial port missing",
             "/nonexistent/ttyTervan",
             {"连接失败"},
             {"错误"},
             {MessageIcon::Information},
             {true},
             ""},
            {"no serial port behind the path",
             "/dev/null",
             {"BuildCommDCB", "端口打开失败，请检测"},
             {"ERROR", "失败"},
             {MessageIcon::None, MessageIcon::Information},
             {false, true},
             "_连接失败"},
            {"no USB printer",
             "USB",
             {"端口打开失败，请检测"},
             {"失败"},
             {MessageIcon::Information},
             {true},
             "_连接失败"},
        };
        for (const Case& c : cases) {
            Rig rig(ReplyMode::Ok, c.port == "USB" ? "/dev/null" : c.port);
            if (c.port == "USB") {
                rig.Select(Ctl::PortList, 0);
            }
            const std::vector<bool> before = rig.PortControlsEnabled();
            const QString title = rig.dialog->windowTitle();
            rig.Press(Ctl::Set);
            QVERIFY2(rig.host.Texts() == c.texts, c.name);
            for (std::size_t i = 0; i < rig.host.m_boxes.size(); ++i) {
                QCOMPARE(rig.host.m_boxes[i].caption, c.captions[static_cast<qsizetype>(i)]);
                QCOMPARE(rig.host.m_boxes[i].icon, c.icons[i]);
                QCOMPARE(rig.host.m_boxes[i].owned, c.owned[i]);
            }
            QCOMPARE(rig.Get<QPushButton>(Ctl::OpenClose)->text(), QStringLiteral("打开"));
            QVERIFY2(rig.PortControlsEnabled() == before, c.name);
            QCOMPARE(rig.dialog->windowTitle(), title + c.titleSuffix);
            QVERIFY(!rig.dialog->m_bConnected);
        }
    }

    void ApplyFromTheForm() {
        struct Case {
            const char* name;
            ReplyMode reply;
            bool fill;
            bool cancelWhileWaiting;
            Bytes wire;
            QString text;
            QString caption;
        };
        const Bytes filled = Concat({
            {0x1B, 0x06},
            {0x1B, 0x74, 0x0B},                                     // code page "reserve", row 12
            {0x1B, 0x32, 0x10},                                     // cutter on
            {0x1B, 0x24, 0x41, 0x42, 0x43, 0x00},                   // manufacturer "ABC"
            {0x1D, 0x28, 0x46, 0x04, 0x00, 0x01, 0x01, 0x64, 0x00}, // start position -100
            {0x1B, 0xFD, 0x00},                                     // density "0"
            {0x1B, 0x16},
        });
        const Case cases[] = {
            {"filled form", ReplyMode::Ok, true, false, filled, kSetSuccess, "成功"},
            {"wrong reply",
             ReplyMode::Wrong,
             true,
             false,
             {0x1B, 0x06, 0x1B, 0x16},
             kSetFailed,
             "失败"},
            {"silent printer, Cancel",
             ReplyMode::Silent,
             false,
             true,
             {0x1B, 0x06, 0x1B, 0x16},
             kSetFailed,
             "失败"},
        };
        for (const Case& c : cases) {
            Rig rig(c.reply);
            if (c.fill) {
                rig.Select(Ctl::CodePage, 12);
                rig.Select(Ctl::Cutter, 2);
                rig.Check(Ctl::ManufacturerCheck);
                rig.Type(Ctl::Manufacturer, QStringLiteral("ABC"));
                rig.Select(Ctl::MarkStart, 1);
                rig.Type(Ctl::MarkStartOffset, QStringLiteral("-100"));
                rig.Select(Ctl::Density, 1);
            }
            rig.hold = !c.cancelWhileWaiting;
            bool modal = false;
            bool formUnchanged = false;
            WhileRunning(
                rig.dialog.get(),
                [&] { return !c.cancelWhileWaiting || rig.printer.Received().size() >= 2; },
                [&](CProgressDlg& progress) {
                    // The form is painted but takes no input while the worker has the link.
                    modal = progress.isModal() && rig.dialog->isVisible();
                    auto* check = rig.Get<QCheckBox>(Ctl::ModelCheck);
                    QTest::mouseClick(rig.dialog->windowHandle(), Qt::LeftButton, {},
                                      check->mapTo(rig.dialog.get(), check->rect().center()));
                    formUnchanged = !check->isChecked();
                    if (c.cancelWhileWaiting) {
                        progress.CancelButton()->click();
                    }
                    rig.hold = false;
                });
            rig.Press(Ctl::Set);
            QVERIFY2(modal && formUnchanged, c.name);
            QCOMPARE(rig.Received(c.wire.size()), c.wire);
            QCOMPARE(rig.host.Texts(), QStringList{c.text});
            QCOMPARE(rig.host.m_boxes[0].caption, c.caption);
            QCOMPARE(rig.host.m_boxes[0].icon, MessageIcon::Information);
            QVERIFY2(rig.host.m_boxes[0].linkOpen, c.name);
            QVERIFY(!rig.dialog->m_bConnected);
            QVERIFY(rig.dialog->windowTitle().endsWith(QStringLiteral("_连接关闭")));
            QCOMPARE(rig.Get<QPushButton>(Ctl::OpenClose)->text(), QStringLiteral("打开"));
            QCOMPARE(rig.pauses.front(), 500);
        }
    }

    void LogosDownloadAndPrint() {
        test::TempDir dir;
        // A 1 x 1 picture of 24 bits per pixel: the headers, then one padded row.
        const auto colour =
            dir.Write("colour.bmp", Concat({
                                        {0x42, 0x4D, 0x3A, 0, 0, 0, 0, 0, 0, 0},
                                        {0x36, 0, 0, 0, 0x28, 0, 0, 0},
                                        {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0x18, 0},
                                        Bytes(24, 0), // compression, sizes, colours: none
                                        Bytes(4, 0),  // the row
                                    }));
        const auto logo = std::filesystem::path(TERVAN_TEST_DATA) / "logo-1x9-im.bmp";
        const Bytes black{0x80, 0x00, 0x00, 0x00};
        const Bytes white{0x00, 0x00, 0x00, 0x00};
        struct Case {
            const char* name;
            int button;
            std::optional<std::filesystem::path> file;
            Bytes wire;
            QStringList texts;
            std::vector<int> pauses;
        };
        const Case cases[] = {
            {"1 x 9 logo",
             Ctl::DownloadBitmap,
             logo,
             Concat({{0x1B, 0x06},
                     {0x1B, 0xFF, 0x03, 0x04, 0x00, 0x09, 0x00},
                     black,
                     white,
                     black,
                     white,
                     black,
                     white,
                     black,
                     black,
                     black,
                     {0x1B, 0x16, 0x1B, 0x16}}),
             {"下载位图成功"},
             {500, 500, 500}},
            {"file dialog cancelled", Ctl::DownloadBitmap, std::nullopt, {}, {}, {500}},
            {"24-bit picture",
             Ctl::DownloadBitmap,
             colour,
             {0x1B, 0x16},
             {"位图格式错误，应该是黑白位图"},
             {500}},
            {"print", Ctl::PrintBitmap, std::nullopt, {0x1C, 0x50, 0x03}, {}, {500}},
        };
        for (const Case& c : cases) {
            Rig rig(ReplyMode::Ok);
            rig.host.m_file = c.file;
            rig.Select(Ctl::BitmapSlot, 3);
            rig.Press(c.button);
            QCOMPARE(rig.Received(c.wire.size()), c.wire);
            QCOMPARE(rig.host.Texts(), c.texts);
            for (const AnsweringHost::Box& box : rig.host.m_boxes) {
                QCOMPARE(box.caption, QStringLiteral("提示"));
                QVERIFY(box.linkOpen);
            }
            QCOMPARE(rig.pauses, c.pauses);
            QVERIFY(!rig.dialog->m_bConnected);
            QVERIFY(rig.dialog->windowTitle().endsWith(QStringLiteral("_连接关闭")));
            if (c.button == Ctl::DownloadBitmap) {
                QVERIFY(rig.host.m_linkOpenWhileChoosing);
                QCOMPARE(rig.host.m_chooser,
                         (QStringList{"打开位图文件", "位图文件(*.bmp)", "bmp"}));
            }
        }
    }
};

} // namespace tervan

QTEST_MAIN(tervan::OperationsTest)
#include "OperationsTest.moc"
