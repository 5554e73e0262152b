#pragma once

#include "form/DialogForm.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tervan {

class ProgressForm;

// One entry of a file chooser's filter: its name as shown, and the patterns it matches.
struct FileFilter {
    std::string_view name;
    std::string_view patterns; // "*.png;*.jpg", separated by semicolons
};

// A file to choose: the chooser's title and its filter entries, the first one chosen at start.
struct FileChoice {
    std::string title;
    std::vector<FileFilter> filters;
    std::string_view extension; // added to a name typed without one
    bool save = false;          // a file to write: the chooser asks before it replaces one
};

// The file the user confirmed, and the filter entry (an index into FileChoice::filters) that was
// chosen when they did.
struct ChosenFile {
    std::filesystem::path path;
    std::size_t filter = 0;
};

// What the main form asks of the window that draws it. Called on the user-interface thread only.
class FormWindow {
public:
    virtual ~FormWindow() = default;

    // Shows `changes` in the order FormChanges gives; returns once every box has been closed.
    virtual void Apply(const FormChanges& changes) = 0;
    // Runs `dialog` modally until its form ends it.
    virtual void RunModal(DialogForm& dialog) = 0;
    // None when the user leaves the chooser.
    virtual std::optional<ChosenFile> ChooseFile(const FileChoice& choice) = 0;
    // Runs `job` on a worker thread under the modal window of `progress`, which the job reports
    // to and ends; returns once the worker has been joined. The link is the worker's meanwhile.
    virtual void RunWithProgress(ProgressForm& progress, const std::function<void()>& job) = 0;
    // What control `id` holds now, as a notification of `kind` would bring it; none from a window
    // whose controls report every change of their state.
    virtual std::optional<ControlValue> ReadControl(int /*id*/, Notify /*kind*/) {
        return std::nullopt;
    }
};

} // namespace tervan
