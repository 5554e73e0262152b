#include "app/qt/TemplateDlg.h"

#include "app/qt/AppIcon.h"
#include "app/qt/DotsView.h"
#include "app/qt/TemplateWidgets.h"
#include "form/ControlIds.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>

namespace tervan {

namespace {

Qt::WindowFlags FlagsOf(const DialogStyle& style) {
    Qt::WindowFlags flags = (style.appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                            Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    flags.setFlag(Qt::WindowSystemMenuHint, style.systemMenu);
    flags.setFlag(Qt::WindowMinimizeButtonHint, style.minimizeBox);
    flags.setFlag(Qt::WindowMaximizeButtonHint, style.maximizeBox);
    return flags;
}

} // namespace

CTemplateDlg::CTemplateDlg(CDialogHost& host, QWidget* parent) : QDialog(parent), m_host(host) {}

void CTemplateDlg::Draw(DialogForm& form) {
    m_form = &form;
    const DialogTemplate& dialog = form.Template();
    setWindowFlags(FlagsOf(dialog.style));
    setWindowTitle(Text(dialog.caption));
    setWindowIcon(AppIcon());
    setFont(DialogFont(dialog));
    if (dialog.style.clientEdge) {
        // Below every control, so it is drawn first.
        m_clientEdge = new QFrame(this);
        m_clientEdge->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    const DialogBaseUnits units = BaseUnits(font());
    m_controls = BuildControls(dialog, *this, units, AppIcon());
    // A sizing border moves no control: they keep their template places.
    const QSize size = ToPixels({0, 0, dialog.cx, dialog.cy}, units).size();
    if (dialog.style.sizingBorder) {
        resize(size);
    } else {
        setFixedSize(size);
    }
    // The form's own work comes back on this thread; a window gone by then takes nothing.
    form.SetRefresh([this] {
        QMetaObject::invokeMethod(
            this, [this] { Apply(m_form->Refresh()); }, Qt::QueuedConnection);
    });
    Apply(form.Opening());
    for (const ControlTemplate& control : dialog.controls) {
        if (QWidget* widget = Control(control.id)) {
            Bind(control.id, widget, control.kind);
        }
    }
    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = Control(control.id);
        if (widget != nullptr && widget->focusPolicy() != Qt::NoFocus && control.visible &&
            widget->isEnabled()) {
            widget->setFocus();
            break;
        }
    }
}

QWidget* CTemplateDlg::Control(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? found->second : nullptr;
}

void CTemplateDlg::Bind(int id, QWidget* widget, ControlKind kind) {
    switch (kind) {
    case ControlKind::PushButton:
        connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [this, id] {
            Dispatch({id, Notify::Clicked, {}});
        });
        break;
    case ControlKind::CheckBox:
        // The state, not the click: a screen reader's toggle action clicks nothing.
        connect(static_cast<QCheckBox*>(widget), &QCheckBox::toggled, this,
                [this, id](bool checked) {
                    Dispatch({id, Notify::CheckChange, checked});
                });
        break;
    case ControlKind::DropDownList:
        connect(static_cast<QComboBox*>(widget), &QComboBox::currentIndexChanged, this,
                [this, id](int index) {
                    Dispatch({id, Notify::SelChange, index});
                });
        break;
    case ControlKind::Edit:
        connect(static_cast<QLineEdit*>(widget), &QLineEdit::textChanged, this,
                [this, id](const QString& text) {
                    Dispatch({id, Notify::EditChange, text.toStdU16String()});
                });
        break;
    default:
        break; // nothing to report
    }
}

void CTemplateDlg::Apply(const FormChanges& changes) {
    if (changes.message) {
        Show(*changes.message);
    }
    for (const ControlChange& change : changes.controls) {
        QWidget* widget = Control(change.id);
        if (widget == nullptr) {
            continue;
        }
        // A change made by the form raises no notification of its own.
        const QSignalBlocker blocker(widget);
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            if (change.items) {
                list->clear();
                for (const std::string& item : *change.items) {
                    list->addItem(Text(item));
                }
            }
            if (change.selection) {
                list->setCurrentIndex(*change.selection);
            }
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (change.text) {
                edit->setText(QString::fromStdU16String(*change.text));
            }
            if (change.caret) {
                edit->setCursorPosition(*change.caret);
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (change.checked) {
                button->setChecked(*change.checked);
            }
            if (change.caption) {
                button->setText(Text(*change.caption));
            }
        } else if (auto* label = qobject_cast<QLabel*>(widget); label && change.caption) {
            label->setText(Text(*change.caption));
        } else if (auto* bar = qobject_cast<QProgressBar*>(widget); bar && change.progress) {
            bar->setRange(0, change.progress->maximum);
            bar->setValue(change.progress->value);
        } else if (auto* view = qobject_cast<CDotsView*>(widget); view && change.dots) {
            view->SetDots(*change.dots);
        }
        if (change.enabled) {
            widget->setEnabled(*change.enabled);
        }
    }
    if (changes.title) {
        setWindowTitle(Text(*changes.title));
    }
    for (const BoxMessage& box : changes.boxes) {
        Show(box);
    }
    if (changes.end) {
        done(*changes.end == Ctl::IdOk ? QDialog::Accepted : QDialog::Rejected);
    }
}

void CTemplateDlg::Show(const BoxMessage& box) {
    std::optional<QString> caption;
    if (box.caption) {
        caption = Text(*box.caption);
    }
    m_host.MessageBox(box.owned ? this : nullptr, Text(box.text), caption,
                      box.informationIcon ? MessageIcon::Information : MessageIcon::None);
}

void CTemplateDlg::keyPressEvent(QKeyEvent* event) {
    // Enter presses the template's default button, or ends the dialog where it has none, as a
    // dialog manager does; a focused button has taken its Enter already.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            int id = Ctl::IdOk;
            for (const ControlTemplate& control : Template().controls) {
                id = control.defaultButton ? control.id : id;
            }
            Dispatch({id, Notify::Clicked, {}});
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CTemplateDlg::reject() {
    Dispatch({Ctl::IdCancel, Notify::Clicked, {}});
}

void CTemplateDlg::closeEvent(QCloseEvent* event) {
    Dispatch({Ctl::Dialog, Notify::Close, {}});
    event->setAccepted(!isVisible()); // gone only when the form has ended the dialog
}

void CTemplateDlg::setVisible(bool visible) {
    // The template names its default button, if any: any other button is the default only while
    // it has the focus. Shown, a dialog would make the first button of its tab order the default.
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
    }
    QDialog::setVisible(visible);
    for (QPushButton* button : buttons) {
        button->setAutoDefault(true);
    }
}

void CTemplateDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_clientEdge != nullptr) {
        m_clientEdge->setGeometry(rect());
    }
}

} // namespace tervan
