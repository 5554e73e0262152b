#include "form/OperationFlow.h"

#include <gtest/gtest.h>

namespace tervan {
namespace {

// Stands in for a window: notes what an operation asks of it and, while the worker would run,
// clicks all three buttons again and then Cancel.
class CancellingWindow : public OperationWindow {
public:
    explicit CancellingWindow(const FormState& form) : m_form(form) {}

    bool Busy() const override { return m_busy; }
    void SetBusy(bool busy) override { m_busy = busy; }
    void ClickOpenClose() override {
        m_connected = !m_connected;
        m_events.push_back(m_connected ? "open" : "close");
    }
    bool IsConnected() const override { return m_connected; }
    PrinterLinks& Links() override { return m_links; }
    PauseFn MakePause(const StopToken&) override {
        return [this](std::chrono::milliseconds) { m_events.push_back("pause"); };
    }
    void RunWithProgress(const ProgressView&, StopToken& stop,
                         const std::function<void(const ProgressReport&)>& job) override {
        m_events.push_back("worker");
        RunApply(m_form, *this);
        RunDownload(m_form, *this);
        RunPrint(m_form, *this);
        stop.RequestStop();
        job([this](const ProgressView&) { m_events.push_back("progress"); });
    }
    void Show(const BoxMessage& message) override { m_events.push_back("box " + message.text); }
    std::optional<std::filesystem::path> ChooseBitmapFile(Language) override {
        m_events.push_back("chooser");
        return std::nullopt;
    }

    std::vector<std::string> m_events;

private:
    const FormState& m_form;
    PrinterLinks m_links;
    bool m_busy = false;
    bool m_connected = false;
};

TEST(OperationFlow, CancelWhileSettlingClosesWithoutBoxChooserOrSecondOperation) {
    const FormState form = InitialFormState({"USB", "/dev/ttyS0"}, AnsiCodePage{"CP936"});
    for (const auto run : {&RunApply, &RunDownload, &RunPrint}) {
        CancellingWindow window(form);
        run(form, window);
        EXPECT_EQ(window.m_events, (std::vector<std::string>{"open", "worker", "close"}));
        // Free again: the next click starts an operation.
        window.m_events.clear();
        run(form, window);
        EXPECT_EQ(window.m_events.front(), "open");
    }
}

} // namespace
} // namespace tervan
