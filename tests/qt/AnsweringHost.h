#pragma once

#include "app/qt/TervanDlg.h"

#include <QDialog>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>

namespace tervan::test {

// Answers every box, the file chooser and modal dialogs at once, and notes each. A box is noted
// as "caption: text", marked where it has no caption, no icon, no owner, or came while the link
// was closed.
class AnsweringHost : public CDialogHost {
public:
    void MessageBox(QWidget* owner, const QString& text, const std::optional<QString>& caption,
                    MessageIcon icon) override {
        m_boxes.push_back(caption.value_or("[no caption]") + ": " + text +
                          (icon == MessageIcon::None ? " [no icon]" : "") +
                          (owner == nullptr ? " [no owner]" : "") +
                          (Connected() ? "" : " [closed]"));
    }
    std::optional<ChosenFile> ChooseFile(QWidget*, const QString& title, const QStringList& filters,
                                         const QString& suffix, bool save) override {
        m_chooser = {title, filters.join(" | "), suffix, Connected() ? "open" : "closed"};
        if (save) {
            m_chooser.push_back("save");
        }
        if (!m_file) {
            return std::nullopt;
        }
        return ChosenFile{*m_file, m_filter};
    }
    int RunModal(QDialog& dialog) override {
        m_modalTitles.push_back(dialog.windowTitle());
        dialog.open();
        m_wasVisible = dialog.isVisible();
        if (m_onModal) {
            m_onModal(dialog); // it ends the dialog itself
        } else {
            dialog.accept();
        }
        return dialog.result();
    }

    CTervanDlg* m_dialog = nullptr;
    QStringList m_boxes;
    QStringList m_chooser;
    QStringList m_modalTitles;
    std::optional<std::filesystem::path> m_file;
    std::size_t m_filter = 0;
    std::function<void(QDialog&)> m_onModal;
    bool m_wasVisible = false;

private:
    bool Connected() const { return m_dialog != nullptr && m_dialog->Form().Connected(); }
};

} // namespace tervan::test
