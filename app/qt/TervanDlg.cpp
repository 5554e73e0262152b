#include "app/qt/TervanDlg.h"

#include "app/qt/AboutDlg.h"
#include "app/qt/AppIcon.h"
#include "app/qt/ProgressDlg.h"
#include "app/qt/TemplateWidgets.h"
#include "form/ControlIds.h"
#include "form/LinkToggle.h"
#include "protocol/Strings.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <thread>

namespace tervan {

namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QStringList Items(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) {
        list.push_back(Text(item));
    }
    return list;
}

} // namespace

const MessageMap<CTervanDlg> CTervanDlg::kMessageMap = MessageMapOf<CTervanDlg>();

CTervanDlg::CTervanDlg(CDialogHost& host, FormState form, QWidget* parent)
    : QDialog(parent), m_host(host), m_form(std::move(form)) {
    const DialogTemplate& dialog = MainDialogTemplate();
    // A window of its own (own task-bar button), a sizing border, no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
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
    // Resizing moves no control: they keep their template places.
    resize(ToPixels({0, 0, dialog.cx, dialog.cy}, units).size());

    for (const ControlState& control : m_form.controls) {
        ShowState(control);
    }
    BindMessageMap();

    const QString about = Text(LoadString(StringId::AboutMenu));
    if (!about.isEmpty()) {
        m_aboutAction = new QAction(about, this);
        m_aboutAction->setShortcut(QKeySequence(Qt::Key_F1));
        connect(m_aboutAction, &QAction::triggered, this, &CTervanDlg::OnSysCommand);
        addAction(m_aboutAction);
        setContextMenuPolicy(Qt::ActionsContextMenu);
    }

    for (const ControlTemplate& control : dialog.controls) {
        QWidget* widget = Control(control.id);
        if (widget != nullptr && widget->focusPolicy() != Qt::NoFocus && control.visible &&
            widget->isEnabled()) {
            widget->setFocus();
            break;
        }
    }
    m_strTitle = windowTitle();
}

QWidget* CTervanDlg::Control(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? found->second : nullptr;
}

QComboBox* CTervanDlg::List(int id) const {
    return qobject_cast<QComboBox*>(Control(id));
}
QLineEdit* CTervanDlg::Edit(int id) const {
    return qobject_cast<QLineEdit*>(Control(id));
}
QAbstractButton* CTervanDlg::Button(int id) const {
    return qobject_cast<QAbstractButton*>(Control(id));
}

void CTervanDlg::Bind(Notify notify, int id, Handler handler) {
    auto call = [this, id, handler] { (this->*handler)(id); };
    switch (notify) {
    case Notify::Clicked:
        connect(Button(id), &QAbstractButton::clicked, this, call);
        break;
    case Notify::CheckChange:
        // The state, not the click: a screen reader's toggle action clicks nothing.
        connect(Button(id), &QAbstractButton::toggled, this, call);
        break;
    case Notify::SelChange:
        connect(List(id), &QComboBox::currentIndexChanged, this, call);
        break;
    case Notify::EditChange:
        connect(Edit(id), &QLineEdit::textChanged, this, call);
        break;
    }
}

void CTervanDlg::BindMessageMap() {
    for (const MessageMapEntry<CTervanDlg>& entry : kMessageMap) {
        Bind(entry.notify, entry.id, entry.handler);
    }
    for (const ControlState& control : m_form.controls) {
        const bool mapped =
            std::ranges::any_of(kMessageMap, [&](const MessageMapEntry<CTervanDlg>& entry) {
                return entry.id == control.id;
            });
        if (mapped) {
            continue;
        }
        if (control.kind == ControlKind::DropDownList) {
            Bind(Notify::SelChange, control.id, &CTervanDlg::KeepSelection);
        } else if (control.kind == ControlKind::Edit) {
            Bind(Notify::EditChange, control.id, &CTervanDlg::KeepText);
        }
    }
}

void CTervanDlg::ToggleLink(int) {
    const ToggleReport report =
        ToggleSelectedLink(m_form, m_links, m_strTitle.toStdString(), UiLanguage());
    m_bConnected = m_links.IsConnected();
    Apply(report.changes);
    if (report.title) {
        setWindowTitle(Text(*report.title));
    }
    for (const BoxMessage& message : report.messages) {
        Show(message);
    }
}

void CTervanDlg::ApplySettings(int) {
    RunApply(m_form, *this);
}

void CTervanDlg::DownloadBitmap(int) {
    RunDownload(m_form, *this);
}

void CTervanDlg::PrintBitmap(int) {
    RunPrint(m_form, *this);
}

void CTervanDlg::SetBusy(bool busy) {
    m_busy = busy;
    // An end of the dialog asked for while an operation ran comes once it is over.
    if (!busy && m_endWhenIdle) {
        reject();
    }
}

void CTervanDlg::EndWhenIdle() {
    m_endWhenIdle = true;
    if (!m_busy) {
        reject();
    }
}

void CTervanDlg::Abandon() {
    if (m_running != nullptr) {
        m_running->RequestAbandon();
    }
}

void CTervanDlg::ClickOpenClose() {
    // A click by program runs ToggleLink to completion, boxes included, before it returns.
    Button(Ctl::OpenClose)->click();
}

PauseFn CTervanDlg::MakePause(const StopToken& stop) {
    return m_makePause ? m_makePause(stop) : StoppablePause(stop);
}

void CTervanDlg::RunWithProgress(const ProgressView& first, StopToken& stop,
                                 const std::function<void(const ProgressReport&)>& job) {
    const Language language = UiLanguage();
    CProgressDlg progress(
        this, m_strTitle, Text(CancelText(language)), Text(StoppingText(language)),
        [&stop] { stop.RequestStop(); }, [&stop] { stop.RequestAbandon(); });
    progress.Show(Text(first.text), first.value, first.maximum, first.cancellable);
    const ProgressReport report = [&progress](const ProgressView& view) {
        QMetaObject::invokeMethod(
            &progress,
            [&progress, text = Text(view.text), view] {
                progress.Show(text, view.value, view.maximum, view.cancellable);
            },
            Qt::QueuedConnection);
    };
    m_running = &stop;
    // From here until the join the link belongs to the worker.
    const std::jthread thread([&] {
        job(report);
        QMetaObject::invokeMethod(
            &progress, [&progress] { progress.Finish(); }, Qt::QueuedConnection);
    });
    progress.exec();
    m_running = nullptr;
}

std::optional<std::filesystem::path> CTervanDlg::ChooseBitmapFile(Language language) {
    return m_host.ChooseFile(this, Text(LoadString(StringId::OpenBitmapFile, language)),
                             Text(kBitmapFilterName), Text(kBitmapExtension));
}

void CTervanDlg::OnModifyChange(int id) {
    Apply(OnClicked(m_form, id, Button(id)->isChecked()));
}

void CTervanDlg::OnFontSwitch(int id) {
    Apply(OnClicked(m_form, id, Button(id)->isChecked()));
}

void CTervanDlg::SelectPort(int id) {
    Apply(OnSelChange(m_form, id, List(id)->currentIndex()));
}

void CTervanDlg::OnBuzzerChange(int id) {
    Apply(OnSelChange(m_form, id, List(id)->currentIndex()));
}

void CTervanDlg::OnBtNameChange(int id) {
    Apply(OnEditChange(m_form, id, Edit(id)->text().toStdU16String()));
}

void CTervanDlg::OnBtPasswordChange(int id) {
    Apply(OnEditChange(m_form, id, Edit(id)->text().toStdU16String()));
}

void CTervanDlg::KeepSelection(int id) {
    Apply(OnSelChange(m_form, id, List(id)->currentIndex()));
}

void CTervanDlg::KeepText(int id) {
    Apply(OnEditChange(m_form, id, Edit(id)->text().toStdU16String()));
}

void CTervanDlg::OnSysCommand() {
    CAboutDlg about(this);
    m_host.RunModal(about);
}

void CTervanDlg::keyPressEvent(QKeyEvent* event) {
    // Enter ends the dialog as Esc does; a focused button has taken its Enter already.
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void CTervanDlg::setVisible(bool visible) {
    // The template has no default button: a button is the default only while it has the focus.
    // Shown, a dialog would make the first button of its tab order the default one.
    const QList<QPushButton*> buttons = findChildren<QPushButton*>();
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
    }
    QDialog::setVisible(visible);
    for (QPushButton* button : buttons) {
        button->setAutoDefault(true);
    }
}

void CTervanDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_clientEdge != nullptr) {
        m_clientEdge->setGeometry(rect());
    }
}

void CTervanDlg::ShowState(const ControlState& control) {
    QWidget* widget = Control(control.id);
    const QSignalBlocker blocker(widget);
    if (auto* list = qobject_cast<QComboBox*>(widget)) {
        list->clear();
        list->addItems(Items(control.items));
        list->setCurrentIndex(control.selection);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(QString::fromStdU16String(control.text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setChecked(control.checked);
    }
    widget->setEnabled(control.enabled);
}

void CTervanDlg::Show(const BoxMessage& message) {
    m_host.MessageBox(message.owned ? this : nullptr, Text(message.text), Text(message.caption),
                      message.informationIcon ? MessageIcon::Information : MessageIcon::None);
}

void CTervanDlg::Apply(const FormChanges& changes) {
    if (changes.message) {
        std::optional<QString> caption;
        if (changes.message->caption) {
            caption = Text(*changes.message->caption);
        }
        m_host.MessageBox(this, Text(changes.message->text), caption, MessageIcon::None);
    }
    for (const ControlChange& change : changes.controls) {
        QWidget* widget = Control(change.id);
        // A change made by a rule raises no notification of its own.
        const QSignalBlocker blocker(widget);
        if (auto* list = qobject_cast<QComboBox*>(widget)) {
            if (change.items) {
                list->clear();
                list->addItems(Items(*change.items));
            }
            if (change.selection) {
                list->setCurrentIndex(*change.selection);
            }
        }
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (change.text) {
                edit->setText(QString::fromStdU16String(*change.text));
            }
            if (change.caret) {
                edit->setCursorPosition(*change.caret);
            }
        }
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && change.caption) {
            button->setText(Text(*change.caption));
        }
        if (change.enabled) {
            widget->setEnabled(*change.enabled);
        }
    }
}

} // namespace tervan
