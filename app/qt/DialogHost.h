#pragma once

#include "form/FormWindow.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

class QDialog;
class QWidget;

namespace tervan {

enum class MessageIcon { None, Information };

// Everything the window shows modally besides itself: message boxes, the file chooser, the
// about box. Tests answer through their own host, so no box is ever left open.
class CDialogHost {
public:
    virtual ~CDialogHost() = default;

    // `owner` may be null (a box of its own); no caption means the platform's default one.
    virtual void MessageBox(QWidget* owner, const QString& text,
                            const std::optional<QString>& caption, MessageIcon icon) = 0;
    // `filters` as Qt's name filters, the first one chosen at start. Empty when the user
    // cancels; else the file and the index of the filter chosen with it. A chooser to `save` to
    // asks before it replaces a file.
    virtual std::optional<ChosenFile> ChooseFile(QWidget* owner, const QString& title,
                                                 const QStringList& filters,
                                                 const QString& defaultSuffix, bool save) = 0;
    // Runs `dialog` modally and returns its result.
    virtual int RunModal(QDialog& dialog) = 0;
};

// The real one: QMessageBox and QFileDialog.
class CQtDialogHost : public CDialogHost {
public:
    void MessageBox(QWidget* owner, const QString& text, const std::optional<QString>& caption,
                    MessageIcon icon) override;
    std::optional<ChosenFile> ChooseFile(QWidget* owner, const QString& title,
                                         const QStringList& filters, const QString& defaultSuffix,
                                         bool save) override;
    int RunModal(QDialog& dialog) override;
};

} // namespace tervan
