#include "app/qt/DialogHost.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include <algorithm>

namespace tervan {

void CQtDialogHost::MessageBox(QWidget* owner, const QString& text,
                               const std::optional<QString>& caption, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                                                     : QMessageBox::NoIcon,
                    caption.value_or(QString()), text, QMessageBox::Ok, owner);
    box.exec();
}

std::optional<ChosenFile> CQtDialogHost::ChooseFile(QWidget* owner, const QString& title,
                                                    const QStringList& filters,
                                                    const QString& defaultSuffix, bool save) {
    QFileDialog dialog(owner, title);
    dialog.setNameFilters(filters);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return ChosenFile{std::filesystem::path(dialog.selectedFiles().front().toStdU16String()),
                      static_cast<std::size_t>(
                          std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())))};
}

int CQtDialogHost::RunModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace tervan
