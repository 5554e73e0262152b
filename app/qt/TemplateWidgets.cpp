#include "app/qt/TemplateWidgets.h"

#include "app/qt/AccessibleList.h"
#include "app/qt/DotsView.h"
#include "form/AccessibleNames.h"
#include "form/ControlIds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>

namespace tervan {

namespace {

// A line of a label's text, in dialog units.
constexpr int kLineHeight = 8;

QWidget* Create(const ControlTemplate& control, QWidget* parent, const QIcon& icon,
                DialogBaseUnits units) {
    switch (control.kind) {
    case ControlKind::GroupBox: {
        // The frame runs through the middle of the title, as a dialog template's group box
        // draws it, so the members' places stay clear of it.
        auto* box = new QGroupBox(Text(control.caption), parent);
        box->setStyleSheet(QStringLiteral(
            "QGroupBox { border: 1px solid palette(mid); border-radius: 3px; margin-top: 0.55em; }"
            "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"));
        return box;
    }
    case ControlKind::Label: {
        // A template breaks lines with CR LF; a Qt label wants LF alone.
        auto* label =
            new QLabel(Text(control.caption).replace(QStringLiteral("\r\n"), "\n"), parent);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // Where the template leaves room for more lines, a long text wraps into them.
        label->setWordWrap(control.rect.cy >= 2 * kLineHeight);
        return label;
    }
    case ControlKind::DropDownList: {
        // Not editable: a drop-down that takes no typing; its form gives its items. It has no menu
        // of its own, and would otherwise swallow the right click and the Menu key that show the
        // window's.
        auto* list = new QComboBox(parent);
        list->setContextMenuPolicy(Qt::NoContextMenu);
        return list;
    }
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(Text(control.text), parent);
        if (control.limit > 0) {
            edit->setMaxLength(control.limit);
        }
        return edit;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(Text(control.caption), parent);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(Text(control.caption), parent);
        button->setDefault(control.defaultButton);
        return button;
    }
    case ControlKind::TrackBar: {
        // A divider: shown, but nothing reads it and it takes no input.
        auto* bar = new QSlider(Qt::Horizontal, parent);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setAttribute(Qt::WA_TransparentForMouseEvents);
        return bar;
    }
    case ControlKind::ProgressBar: {
        auto* bar = new QProgressBar(parent);
        bar->setRange(0, 0);
        return bar;
    }
    case ControlKind::Dots:
        return new CDotsView(parent);
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        // A system icon is 32 x 32 pixels at 96 dpi, whatever its template box says.
        const int side = std::min(ToPixels(control.rect, units).height(), 32);
        label->setPixmap(icon.pixmap(side, side));
        return label;
    }
    }
    return nullptr;
}

} // namespace

QFont DialogFont(const DialogTemplate& dialog) {
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(dialog.pointSize);
    return font;
}

DialogBaseUnits BaseUnits(const QFont& font) {
    // As a dialog manager measures its font: the mean width of the 52 Latin letters, rounded,
    // and the character height.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect ToPixels(const DialogRect& rect, DialogBaseUnits units) {
    auto x = [&](int v) { return (v * units.cx + 2) / 4; };
    auto y = [&](int v) { return (v * units.cy + 4) / 8; };
    return {x(rect.x), y(rect.y), x(rect.x + rect.cx) - x(rect.x), y(rect.y + rect.cy) - y(rect.y)};
}

std::map<int, QWidget*> BuildControls(const DialogTemplate& dialog, QWidget& parent,
                                      DialogBaseUnits units, const QIcon& icon) {
    InstallListAccessibility();
    std::map<int, QWidget*> numbered;
    QLabel* pendingLabel = nullptr;
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
        const ControlTemplate& control = dialog.controls[i];
        QWidget* widget = Create(control, control.visible ? &parent : nullptr, icon, units);
        widget->setGeometry(ToPixels(control.rect, units));
        widget->setEnabled(control.enabled);
        if (!control.visible) {
            widget->setParent(&parent, Qt::Window);
            widget->hide();
        }
        if (pendingLabel != nullptr && control.id != Ctl::Static) {
            pendingLabel->setBuddy(widget);
        }
        pendingLabel = control.kind == ControlKind::Label ? static_cast<QLabel*>(widget) : nullptr;
        if (const AccessibleName name = AccessibleNameOf(dialog, i);
            name.source == NameSource::Label || name.source == NameSource::Given) {
            widget->setAccessibleName(Text(name.text));
        }
        if (control.id != Ctl::Static) {
            widget->setObjectName(QString::number(control.id));
            widget->setProperty("controlId", control.id);
            numbered[control.id] = widget;
        } else {
            // Labels and boxes take no focus, so tabbing goes from control to control.
            widget->setFocusPolicy(Qt::NoFocus);
        }
    }
    return numbered;
}

} // namespace tervan
