#include "app/qt/AboutDlg.h"

#include "app/qt/AppIcon.h"
#include "app/qt/TemplateWidgets.h"
#include "form/ControlIds.h"

#include <QPushButton>

namespace tervan {

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dialog = AboutDialogTemplate();
    setWindowTitle(
        QString::fromUtf8(dialog.caption.data(), static_cast<qsizetype>(dialog.caption.size())));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(DialogFont(dialog));
    const DialogBaseUnits units = BaseUnits(font());
    const auto controls = BuildControls(dialog, *this, units, AppIcon());
    setFixedSize(ToPixels({0, 0, dialog.cx, dialog.cy}, units).size());
    auto* ok = static_cast<QPushButton*>(controls.at(Ctl::IdOk));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

} // namespace tervan
