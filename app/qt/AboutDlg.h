#pragma once

#include <QDialog>

namespace tervan {

// The about box, built from its template: the icon, a line with the year, "确定".
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent);
};

} // namespace tervan
