#include "app/qt/DialogHost.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace tervan {

void CQtDialogHost::MessageBox(QWidget* owner, const QString& text,
                               const std::optional<QString>& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                                                     : QMessageBox::NoIcon,
                    caption.value_or(QString()), text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<std::filesystem::path> CQtDialogHost::ChooseFile(QWidget* owner, const QString& title,
                                                               const QString& filter,
                                                               const QString& defaultSuffix,
                                                               bool save) {
    QFileDialog dialog(owner, title, QString(), filter);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.selectedFiles().front().toStdU16String());
}

int CQtDialogHost::RunModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace tervan
