#include "form/MainForm.h"
#include "form/ControlIds.h"
#include "form/ProgressForm.h"
#include "sim/VirtualPrinter.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

// Stands in for a window: notes what an operation shows and asks of it and, while the worker
// would run, clicks the three buttons, 1006 and the profile entries again and then Cancel.
class CancellingWindow : public FormWindow {
public:
    void Apply(const FormChanges& changes) override {
        for (const ControlChange& change : changes.controls) {
            if (change.id == Ctl::PortList && change.enabled) {
                m_events.push_back(*change.enabled ? "close" : "open");
            }
        }
        for (const BoxMessage& box : changes.boxes) {
            m_events.push_back("box " + box.text);
        }
    }
    void RunModal(DialogForm&) override { m_events.push_back("dialog"); }
    std::optional<ChosenFile> ChooseFile(const FileChoice&) override {
        m_events.push_back("chooser");
        return std::nullopt;
    }
    void RunWithProgress(ProgressForm& progress, const std::function<void()>& job) override {
        m_events.push_back("worker");
        for (int id : {Ctl::Set, Ctl::DownloadBitmap, Ctl::PrintBitmap, Ctl::OpenClose,
                       Ctl::SaveProfile, Ctl::LoadProfile}) {
            Apply(m_form->Dispatch({id, Notify::Clicked, {}}));
        }
        progress.Dispatch({Ctl::IdCancel, Notify::Clicked, {}});
        job();
    }

    MainForm* m_form = nullptr;
    std::vector<std::string> m_events;
};

TEST(MainForm, CancelWhileSettlingClosesWithoutBoxChooserOrSecondOperation) {
    sim::VirtualPrinter printer;
    ASSERT_TRUE(printer.Start());
    for (const int button : {Ctl::Set, Ctl::DownloadBitmap, Ctl::PrintBitmap}) {
        CancellingWindow window;
        MainForm form(InitialFormState({"USB", printer.SlavePath()}, AnsiCodePage{"CP936"}),
                      window);
        window.m_form = &form;
        form.SetPauseMaker([](const StopToken&) { return [](std::chrono::milliseconds) {}; });
        EXPECT_FALSE(form.Dispatch({button, Notify::Clicked, {}}).end);
        EXPECT_EQ(window.m_events, (std::vector<std::string>{"open", "worker", "close"}));
        EXPECT_FALSE(form.Connected());
        // Free again: the next click starts an operation, and Esc ends the dialog.
        window.m_events.clear();
        form.Dispatch({button, Notify::Clicked, {}});
        EXPECT_EQ(window.m_events.front(), "open");
        EXPECT_EQ(form.Dispatch({Ctl::IdCancel, Notify::Clicked, {}}).end, Ctl::IdCancel);
    }
    EXPECT_TRUE(printer.Received().empty());
}

} // namespace
} // namespace tervan
