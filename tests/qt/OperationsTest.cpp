#include "AnsweringHost.h"
#include "app/qt/DotsView.h"
#include "app/qt/StopSignalsQt.h"
#include "app/qt/TervanDlg.h"
#include "bitmap/BmpBytes.h"
#include "bitmap/StbCodec.h"
#include "form/AccessibleNames.h"
#include "form/ControlIds.h"
#include "sim/VirtualPrinter.h"
#include "support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>
#include <tuple>

namespace tervan {
namespace {

using namespace std::chrono_literals;
using sim::ReplyMode;

// The window with a virtual printer first in its port list (unless `port` is given); its pauses
// are recorded, not slept, and `hold` keeps the worker in a pause until the test lets go.
struct Rig {
    explicit Rig(ReplyMode reply, std::string port = {}, std::size_t bytesPerSecond = 0)
        : printer({.reply = reply, .bytesPerSecond = bytesPerSecond}) {
        if (port.empty() && printer.Start()) {
            port = printer.SlavePath();
        }
        dialog = std::make_unique<CTervanDlg>(
            host, InitialFormState({"USB", port}, AnsiCodePage{"CP936"}));
        host.m_dialog = dialog.get();
        dialog->Form().SetPauseMaker([this](const StopToken&) {
            return [this](std::chrono::milliseconds d) {
                {
                    const std::lock_guard lock(mutex);
                    pauses.push_back(static_cast<int>(d.count()));
                }
                for (auto until = std::chrono::steady_clock::now() + 5s;
                     hold && std::chrono::steady_clock::now() < until;) {
                    std::this_thread::sleep_for(1ms);
                }
            };
        });
        dialog->show();
    }

    template <typename W> W* Get(int id) const { return qobject_cast<W*>(dialog->Control(id)); }
    void Select(int id, int index) const { Get<QComboBox>(id)->setCurrentIndex(index); }

    Bytes Received(std::size_t atLeast) const {
        printer.WaitForBytes(atLeast, 2s);
        return printer.Received();
    }

    sim::VirtualPrinter printer;
    test::AnsweringHost host;
    std::unique_ptr<CTervanDlg> dialog;
    std::mutex mutex;
    std::vector<int> pauses;
    std::atomic<bool> hold{false};
};

// The real boxes, which only an answer or a stop signal closes; each is noted as "caption: text".
struct NotingHost : CQtDialogHost {
    void MessageBox(QWidget* owner, const QString& text, const std::optional<QString>& caption,
                    MessageIcon icon) override {
        m_boxes.push_back(caption.value_or("") + ": " + text);
        CQtDialogHost::MessageBox(owner, text, caption, icon);
    }
    QStringList m_boxes;
};

// The progress window (a text, a bar, Cancel), when it is the modal one.
CTemplateDlg* ProgressWindow() {
    auto* window = dynamic_cast<CTemplateDlg*>(QApplication::activeModalWidget());
    return window != nullptr && window->Template().id == Ctl::ProgressDialog ? window : nullptr;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace

class OperationsTest : public QObject {
    Q_OBJECT

private slots:
    void FailedOpensShowOnlyTheirOwnBoxes() {
        const struct {
            std::string port; // "USB": the USB link, with no printer attached; empty: a printer
            QStringList boxes;
            QString titleSuffix;
            QString tearOffset; // set: refused before anything opens
        } cases[] = {
            {"",
             {"错误: 定位偏移(撕纸位置) 超出范围，应为 -65535 到 65535 之间的整数 [closed]"},
             "",
             "70000"},
            {"/nonexistent/ttyTervan", {"错误: 连接失败 [closed]"}, "", ""},
            {"/dev/null",
             {"ERROR: BuildCommDCB [no icon] [no owner] [closed]",
              "失败: 端口打开失败，请检测 [closed]"},
             "_连接失败",
             ""},
            {"USB", {"失败: 端口打开失败，请检测 [closed]"}, "_连接失败", ""},
        };
        for (const auto& c : cases) {
            Rig rig(ReplyMode::Ok, c.port == "USB" ? "/dev/null" : c.port);
            if (c.port == "USB") {
                rig.Select(Ctl::PortList, 0);
            }
            if (!c.tearOffset.isEmpty()) {
                rig.Select(Ctl::MarkTear, 1);
                rig.Get<QLineEdit>(Ctl::MarkTearOffset)->setText(c.tearOffset);
            }
            const QString title = rig.dialog->windowTitle();
            rig.Get<QPushButton>(Ctl::Set)->click();
            QCOMPARE(rig.host.m_boxes, c.boxes);
            QCOMPARE(rig.Get<QPushButton>(Ctl::OpenClose)->text(), QStringLiteral("打开"));
            QCOMPARE(rig.dialog->windowTitle(), title + c.titleSuffix);
            QVERIFY(rig.printer.Received().empty());
        }
    }

    void ApplyFromTheForm() {
        enum class Cancel { Not, WhileSettling, WhileWaiting };
        const Bytes failed{0x1B, 0x06, 0x1B, 0x16};
        const QStringList setFailed{"失败: 设置失败，请检测"};
        const struct {
            ReplyMode reply;
            Cancel cancel;
            Bytes wire;
            QStringList boxes;
        } cases[] = {
            {ReplyMode::Ok,
             Cancel::Not,
             {0x1B, 0x06, 0x1B, 0x16},
             {"成功: 设置成功,重新启动后生效"}},
            {ReplyMode::Wrong, Cancel::Not, failed, setFailed},
            {ReplyMode::Silent, Cancel::WhileWaiting, failed, setFailed},
            {ReplyMode::Ok, Cancel::WhileSettling, {}, {}},
        };
        for (const auto& c : cases) {
            // What the controls put on the wire is EveryWayAControlChangesReachesTheForm's.
            Rig rig(c.reply);

            // While the worker has the link: the progress window is modal, the form is shown but
            // a click on it changes nothing; then Cancel, if the case asks for it.
            const bool waiting = c.cancel == Cancel::WhileWaiting;
            rig.hold = !waiting;
            bool blocked = false;
            QTimer timer;
            connect(&timer, &QTimer::timeout, this, [&] {
                CTemplateDlg* progress = ProgressWindow();
                if (progress == nullptr || (waiting && rig.printer.Received().size() < 2)) {
                    return;
                }
                timer.stop();
                auto* check = rig.Get<QCheckBox>(Ctl::ModelCheck);
                QTest::mouseClick(rig.dialog->windowHandle(), Qt::LeftButton, {},
                                  check->mapTo(rig.dialog.get(), check->rect().center()));
                blocked = progress->isModal() && rig.dialog->isVisible() && !check->isChecked();
                if (c.cancel != Cancel::Not) {
                    progress->findChild<QPushButton*>()->click();
                }
                rig.hold = false;
            });
            timer.start(5);
            rig.Get<QPushButton>(Ctl::Set)->click();

            QVERIFY(blocked);
            QCOMPARE(rig.Received(c.wire.size()), c.wire);
            QCOMPARE(rig.host.m_boxes, c.boxes);
            QVERIFY(rig.dialog->windowTitle().endsWith(QStringLiteral("_连接关闭")));
            QCOMPARE(rig.pauses.front(), 500);
        }
    }

    void LogosDownloadAndPrint() {
        // The nine rows of 4 bytes, top line first: 80 where the line has its black dot.
        const Bytes rows{0x80, 0, 0, 0, 0, 0, 0,    0, 0x80, 0, 0,    0, 0, 0, 0,    0, 0x80, 0,
                         0,    0, 0, 0, 0, 0, 0x80, 0, 0,    0, 0x80, 0, 0, 0, 0x80, 0, 0,    0};
        const QStringList chooser{"打开位图文件",
                                  "位图文件(*.bmp) | 图片文件(*.png *.jpg *.jpeg *.gif *.bmp)",
                                  "bmp", "open"};
        const struct {
            int button;
            std::optional<std::filesystem::path> file;
            Bytes wire;
            QStringList boxes;
            std::vector<int> pauses;
        } cases[] = {
            {Ctl::DownloadBitmap,
             std::filesystem::path(TERVAN_TEST_DATA) / "logo-1x9-im.bmp",
             Concat({{0x1B, 0x06, 0x1B, 0xFF, 0x03, 0x04, 0x00, 0x09, 0x00},
                     rows,
                     {0x1B, 0x16, 0x1B, 0x16}}),
             {"提示: 下载位图成功"},
             {500, 500, 500}},
            {Ctl::DownloadBitmap, std::nullopt, {}, {}, {500}},
            {Ctl::PrintBitmap, std::nullopt, {0x1C, 0x50, 0x03}, {}, {500}},
        };
        for (const auto& c : cases) {
            Rig rig(ReplyMode::Ok);
            rig.host.m_file = c.file;
            rig.Select(Ctl::BitmapSlot, 3);
            rig.Get<QPushButton>(c.button)->click();
            QCOMPARE(rig.Received(c.wire.size()), c.wire);
            QCOMPARE(rig.host.m_boxes, c.boxes);
            QCOMPARE(rig.pauses, c.pauses);
            QCOMPARE(rig.host.m_chooser, c.button == Ctl::DownloadBitmap ? chooser : QStringList{});
            QVERIFY(rig.dialog->windowTitle().endsWith(QStringLiteral("_连接关闭")));
        }
    }

    // A profile saved from a filled form by Ctrl+S and loaded into a fresh one by Ctrl+O shows
    // there; a bad profile loaded after it changes nothing.
    void ProfilesFromTheMenu() {
        test::TempDir dir;
        const auto shop = dir.Path() / "shop.toml";
        const auto bad = dir.Write("bad.toml", {'c', 'u', 't', 't', 'e', 'r', '=', '3', '\n'});
        Rig fresh(ReplyMode::Ok);
        Rig filled(ReplyMode::Ok, fresh.printer.SlavePath());
        filled.Get<QCheckBox>(Ctl::DotMatrix)->click();
        filled.Select(Ctl::Font, 1);
        const std::tuple<Rig*, Qt::Key, std::filesystem::path> steps[] = {
            {&filled, Qt::Key_S, shop}, {&fresh, Qt::Key_O, shop}, {&fresh, Qt::Key_O, bad}};
        for (const auto& [rig, key, file] : steps) {
            rig->host.m_file = file;
            rig->dialog->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(rig->dialog.get()));
            QTest::keyClick(rig->dialog.get(), key, Qt::ControlModifier);
        }
        QCOMPARE(filled.host.m_chooser,
                 QStringList({"保存配置文件", "配置文件(*.toml)", "toml", "closed", "save"}));
        QCOMPARE(fresh.host.m_chooser.front(), QStringLiteral("载入配置文件"));
        QCOMPARE(fresh.host.m_boxes.size(), 1);
        QVERIFY(fresh.host.m_boxes[0].startsWith("错误: ") &&
                fresh.host.m_boxes[0].contains("bad.toml:1:"));
        QCOMPARE(fresh.Get<QComboBox>(Ctl::Font)->currentText(),
                 QStringLiteral("西文下7*9点阵 中文下6*12"));
    }

    // A black picture 600 x 4 chosen through the pictures' filter: its preview shows 576 x 4 dots
    // at 72 mm and 384 x 3 at 58 mm, drawn one pixel a dot; OK stores it (what goes on the wire is
    // PreviewForm's and the download's). Every control but the texts takes the focus by Tab and
    // has a name.
    void PictureThroughThePreview() {
        test::TempDir dir;
        const Bytes black(600 * 4, 0);
        const auto png = dir.Write("black.png", stb::EncodeGreyPng(black.data(), 600, 4));
        Rig rig(ReplyMode::Ok);
        rig.host.m_file = png;
        rig.host.m_filter = 1;
        rig.Select(Ctl::BitmapSlot, 3);
        QList<int> widths;
        int drawn = 0;
        rig.host.m_onModal = [&](QDialog& dialog) {
            auto& preview = dynamic_cast<CTemplateDlg&>(dialog);
            QCOMPARE(preview.Template().id, Ctl::PreviewDialog);
            auto* view = qobject_cast<CDotsView*>(preview.Control(Ctl::PreviewDots));
            QTRY_VERIFY(!view->Image().isNull());
            widths.push_back(view->Image().width());
            qobject_cast<QComboBox*>(preview.Control(Ctl::PaperList))->setCurrentIndex(0);
            QTRY_COMPARE(view->Image().width(), 384);
            widths.push_back(view->Image().height());
            const QImage shot = preview.grab().toImage();
            const QRect area = view->contentsRect().translated(view->pos());
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    drawn += qGray(shot.pixel(x, y)) < 64 ? 1 : 0;
                }
            }
            for (const ControlTemplate& control : preview.Template().controls) {
                QWidget* widget = preview.Control(control.id);
                if (widget != nullptr && control.kind != ControlKind::Label) {
                    QVERIFY((widget->focusPolicy() & Qt::TabFocus) != 0);
                    QVERIFY(!QAccessible::queryAccessibleInterface(widget)
                                 ->text(QAccessible::Name)
                                 .isEmpty());
                }
            }
            qobject_cast<QPushButton*>(preview.Control(Ctl::IdOk))->click();
        };
        rig.Get<QPushButton>(Ctl::DownloadBitmap)->click();

        QCOMPARE(widths, (QList<int>{576, 3}));
        QCOMPARE(drawn, 384 * 3);
        QCOMPARE(rig.host.m_boxes, QStringList{"提示: 下载位图成功"});
    }

    // Cancel part-way through a 576 x 900 logo to a printer that reads 50,000 bytes a second: the
    // blank rows still go out while the progress window says so and offers no Cancel; closing
    // the window then gives them up.
    void CancelPartWayThroughALogo() {
        test::TempDir dir;
        const auto logo =
            dir.Write("logo.bmp", test::MakeBmp({.width = 576, .height = 900}, Bytes(64800, 0)));
        const struct {
            bool closeWhileFilling;
            QStringList boxes;
            std::vector<int> pauses;
        } cases[] = {
            {false, {"提示: 下载已停止：位图槽 3 只存入了部分位图"}, {500, 500, 500}},
            {true, {"提示: 打印机仍处于设置模式，请关闭打印机电源后重新打开"}, {500}},
        };
        for (const auto& c : cases) {
            Rig rig(ReplyMode::Silent, {}, 50000);
            rig.host.m_file = logo;
            rig.Select(Ctl::BitmapSlot, 3);
            bool cancelled = false;
            bool sawFilling = false;
            QTimer timer;
            connect(&timer, &QTimer::timeout, this, [&] {
                CTemplateDlg* progress = ProgressWindow();
                const std::size_t got = rig.printer.Received().size();
                if (progress == nullptr || got < 8000) {
                    return;
                }
                if (!cancelled) {
                    cancelled = true;
                    progress->findChild<QPushButton*>()->click();
                } else if (progress->findChild<QLabel*>()->text().startsWith(
                               QStringLiteral("正在用空白行补齐位图"))) {
                    sawFilling = !progress->findChild<QPushButton*>()->isEnabled();
                    if (c.closeWhileFilling) {
                        timer.stop();
                        progress->close();
                    }
                }
            });
            timer.start(5);
            rig.Get<QPushButton>(Ctl::DownloadBitmap)->click();
            timer.stop();

            QVERIFY(sawFilling);
            // What the line still holds arrives after the link has closed.
            rig.printer.WaitForBytes(9 + 64800 + 4, c.closeWhileFilling ? 1s : 5s);
            const Bytes got = rig.printer.Received();
            if (c.closeWhileFilling) {
                QVERIFY(got.size() < 9 + 64800);
            } else {
                QCOMPARE(got.size(), std::size_t{9 + 64800 + 4});
                QCOMPARE(Bytes(got.end() - 4, got.end()), (Bytes{0x1B, 0x16, 0x1B, 0x16}));
            }
            QCOMPARE(rig.host.m_boxes, c.boxes);
            QCOMPARE(rig.pauses, c.pauses);
            QVERIFY(rig.dialog->windowTitle().endsWith(QStringLiteral("_连接关闭")));
        }
    }

    // A second signal while a stopped download's blank rows go out gives them up at once: the
    // window ends with the first signal's status, and the printer stays in setup mode.
    void SecondSignalGivesUpTheBlankRows() {
        test::TempDir dir;
        Rig rig(ReplyMode::Silent, {}, 50000);
        rig.host.m_file =
            dir.Write("logo.bmp", test::MakeBmp({.width = 576, .height = 900}, Bytes(64800, 0)));
        int raised = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, this, [&] {
            CTemplateDlg* progress = ProgressWindow();
            if (progress == nullptr || rig.printer.Received().size() < 8000) {
                return;
            }
            if (raised == 0 || progress->findChild<QLabel*>()->text().startsWith(
                                   QStringLiteral("正在用空白行补齐位图"))) {
                timer.stop();
                std::raise(SIGINT);
                if (++raised < 2) {
                    timer.start(5);
                }
            }
        });
        timer.start(5);
        QTimer::singleShot(0, rig.dialog.get(),
                           [&] { rig.Get<QPushButton>(Ctl::DownloadBitmap)->click(); });

        QCOMPARE(ExecStoppable(*rig.dialog), 130);
        QCOMPARE(raised, 2);
        rig.printer.WaitForBytes(9 + 64800, 1s);
        QVERIFY(rig.printer.Received().size() < 9 + 64800);
        QCOMPARE(rig.host.m_boxes,
                 QStringList{"提示: 打印机仍处于设置模式，请关闭打印机电源后重新打开"});
    }

    void StopSignalsEndTheWindow() {
        enum class When { Idle, WaitingForOk, VerdictShown };
        const struct {
            ReplyMode reply;
            When when;
            int signal;
            Bytes wire;
            QStringList boxes;
            std::vector<int> pauses;
            int status;
        } cases[] = {
            {ReplyMode::Silent,
             When::WaitingForOk,
             SIGTERM,
             {0x1B, 0x06, 0x1B, 0x16},
             {"失败: 设置失败，请检测"},
             {500, 100},
             143},
            {ReplyMode::Ok,
             When::VerdictShown,
             SIGHUP,
             {0x1B, 0x06, 0x1B, 0x16},
             {"成功: 设置成功,重新启动后生效"},
             {500, 100},
             129},
            {ReplyMode::Ok, When::Idle, SIGINT, {}, {}, {}, 130},
        };
        for (const auto& c : cases) {
            sim::VirtualPrinter printer({.reply = c.reply});
            QVERIFY(printer.Start());
            NotingHost host;
            CTervanDlg dialog(
                host, InitialFormState({"USB", printer.SlavePath()}, AnsiCodePage{"CP936"}));
            // After the settling pause the wait for the reply holds until the stop: only the
            // signal can end it.
            std::vector<int> pauses;
            const auto until = std::chrono::steady_clock::now() + 5s;
            dialog.Form().SetPauseMaker([&](const StopToken& stop) {
                return [&](std::chrono::milliseconds d) {
                    pauses.push_back(static_cast<int>(d.count()));
                    while (c.when == When::WaitingForOk && pauses.size() > 1 &&
                           !stop.StopRequested() && std::chrono::steady_clock::now() < until) {
                        std::this_thread::sleep_for(1ms);
                    }
                };
            });
            QTimer timer;
            connect(&timer, &QTimer::timeout, this, [&] {
                QWidget* modal = QApplication::activeModalWidget();
                const bool ready =
                    c.when == When::Idle ||
                    (c.when == When::WaitingForOk && ProgressWindow() != nullptr &&
                     printer.Received().size() >= 2) ||
                    (c.when == When::VerdictShown && qobject_cast<QMessageBox*>(modal));
                if (ready) {
                    timer.stop();
                    std::raise(c.signal);
                }
            });
            timer.start(5);
            if (c.when != When::Idle) {
                QTimer::singleShot(0, &dialog, [&] {
                    qobject_cast<QPushButton*>(dialog.Control(Ctl::Set))->click();
                });
            }

            QCOMPARE(ExecStoppable(dialog), c.status);
            printer.WaitForBytes(c.wire.size(), 2s);
            QCOMPARE(printer.Received(), c.wire);
            QCOMPARE(host.m_boxes, c.boxes);
            QCOMPARE(pauses, c.pauses);
            QVERIFY(!dialog.Form().Connected() && !dialog.isVisible());
        }
    }
};

} // namespace tervan

QTEST_MAIN(tervan::OperationsTest)
#include "OperationsTest.moc"
