#include "app/qt/TervanDlg.h"
#include "AnsweringHost.h"
#include "form/ControlIds.h"
#include "form/Gather.h"
#include "protocol/ApplySettings.h"
#include "support/ExpectedNames.h"
#include "support/RecordingLink.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace tervan {

using test::AnsweringHost;

class TervanDlgTest : public QObject {
    Q_OBJECT

    template <typename W> W* Get(CTervanDlg& dialog, int id) {
        return qobject_cast<W*>(dialog.Control(id));
    }

    FormState Form() { return InitialFormState({"USB", "/dev/ttyS0"}, AnsiCodePage{"CP936"}); }

    // A check box toggled as a screen reader toggles it: through its accessible action.
    static void ToggleAccessibly(QWidget* box) {
        QAccessible::queryAccessibleInterface(box)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    }
    // An edit's text set as an assistive tool sets it: through its accessible value.
    static void SetTextAccessibly(QWidget* edit, const QString& text) {
        QAccessible::queryAccessibleInterface(edit)->setText(QAccessible::Value, text);
    }

private slots:
    void initTestCase() {
        // The offscreen platform has no accessibility bridge of its own to turn this on.
        QAccessible::setActive(true);
    }

    void EveryWayAControlChangesReachesTheForm() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        const int checks[] = {Ctl::ManufacturerCheck, Ctl::ModelCheck,      Ctl::SerialNumberCheck,
                              Ctl::BtNameCheck,       Ctl::BtPasswordCheck, Ctl::SerialFormatCheck,
                              Ctl::DotMatrix};
        for (const int id : checks) {
            ToggleAccessibly(dialog.Control(id));
        }
        const struct {
            int id;
            const char* text;
        } texts[] = {{Ctl::Manufacturer, "ACME"}, {Ctl::Model, "M1"},
                     {Ctl::SerialNumber, "S1"},   {Ctl::BtName, "BT"},
                     {Ctl::BtPassword, "1234"},   {Ctl::MarkStartOffset, "-100"},
                     {Ctl::MarkTearOffset, "300"}};
        for (const auto& t : texts) {
            SetTextAccessibly(dialog.Control(t.id), QString::fromUtf8(t.text));
        }
        const std::pair<int, int> selections[] = {
            {Ctl::CodePage, 12},       {Ctl::Font, 1},
            {Ctl::Language, 2},        {Ctl::Cutter, 2},
            {Ctl::PrinterBaudRate, 0}, {Ctl::PrinterParity, 1},
            {Ctl::MarkDetect, 2},      {Ctl::MarkStart, 1},
            {Ctl::MarkTear, 1},        {Ctl::MarkSensitivity, 3},
            {Ctl::Speed, 4},           {Ctl::Density, 1},
            {Ctl::CrMode, 2},          {Ctl::Direction, 2},
            {Ctl::PaperWidth, 3},      {Ctl::UsbMode, 2},
            {Ctl::BuzzerError, 2},     {Ctl::BuzzerCut, 2},
        };
        for (const auto& [id, index] : selections) {
            Get<QComboBox>(dialog, id)->setCurrentIndex(index);
        }

        // The rules ran: every edit and the printer's serial lists are open, the fonts are the
        // dot-matrix ones.
        for (const int id : {Ctl::Manufacturer, Ctl::Model, Ctl::SerialNumber, Ctl::BtName,
                             Ctl::BtPassword, Ctl::PrinterBaudRate, Ctl::PrinterFlowControl}) {
            QVERIFY2(dialog.Control(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        QCOMPARE(Get<QComboBox>(dialog, Ctl::Font)->itemText(1),
                 QStringLiteral("西文下7*9点阵 中文下6*12"));

        // And the form holds all of it: what it gathers is what the printer gets.
        test::RecordingLink link;
        link.replies = {{0x4F, 0x4B}};
        const FormState& form = dialog.Form().State();
        QCOMPARE(ApplySettings(GatherSettings(form), form.codePage, link, false, link.Pauser()),
                 ApplyOutcome::Success);
        QCOMPARE(link.Trace(true), std::string("1B 06|1B 74 0B|1B 21 00|1B 22 01|1B 32 10|1B 23 58|"
                                               "1B 24|41 43 4D 45|00|1B 25|4D 31|00|1B 26|53 31|00|"
                                               "1B 11|42 54|00|1B 10|31 32 33 34|00|1B 2B 01|"
                                               "1D 28 46 04 00 01 01 64 00|"
                                               "1D 28 46 04 00 02 00 2C 01|1B 28 02|1B 2C 03|"
                                               "1B FD 00|1B 2E 01|1B 63 01|1B 2D 02|1B 30 01|"
                                               "1B 29 03|1B 16"));
    }

    // The mouse, the space bar and typing run the form's rules; what a rule changes raises no
    // notification of its own.
    void RulesRunFromMouseKeysAndTyping() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* box = Get<QCheckBox>(dialog, Ctl::ModelCheck);
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(dialog.Control(Ctl::Model)->isEnabled() &&
                dialog.Form().State().At(Ctl::ModelCheck).checked);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QVERIFY(!dialog.Control(Ctl::Model)->isEnabled());

        auto* cut = Get<QComboBox>(dialog, Ctl::BuzzerCut);
        QSignalSpy cutChanges(cut, &QComboBox::currentIndexChanged);
        Get<QComboBox>(dialog, Ctl::BuzzerError)->setCurrentIndex(2);
        QCOMPARE(cut->currentIndex(), 1);
        QCOMPARE(cutChanges.count(), 0);

        QTest::mouseClick(Get<QCheckBox>(dialog, Ctl::BtPasswordCheck), Qt::LeftButton);
        auto* password = Get<QLineEdit>(dialog, Ctl::BtPassword);
        QTest::keyClicks(password, QStringLiteral("12a"));
        QCOMPARE(host.m_boxes,
                 QStringList{QStringLiteral("[no caption]: 只能输入数字 [no icon] [closed]")});
        QCOMPARE(password->text(), QStringLiteral("12"));
    }

    void EveryControlHasItsName() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        for (const test::ExpectedName& expected : test::kExpectedNames) {
            QAccessibleInterface* control =
                QAccessible::queryAccessibleInterface(dialog.Control(expected.id));
            QCOMPARE(control->text(QAccessible::Name), QString::fromUtf8(expected.name));
        }
        // The table leaves out no control a user can reach.
        for (const ControlTemplate& control : MainDialogTemplate().controls) {
            const bool named = std::ranges::any_of(
                test::kExpectedNames, [&](const auto& e) { return e.id == control.id; });
            QVERIFY(named || control.id == Ctl::Static || !control.visible ||
                    control.kind == ControlKind::TrackBar);
        }
        // A list still tells its current item, as its value.
        QCOMPARE(QAccessible::queryAccessibleInterface(dialog.Control(Ctl::Density))
                     ->text(QAccessible::Value),
                 QStringLiteral("不改变"));
        // The hidden open/close button is nowhere in the window's tree.
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&dialog);
        for (int i = 0; i < window->childCount(); ++i) {
            QVERIFY(window->child(i)->object() != dialog.Control(Ctl::OpenClose));
        }
        QVERIFY(dialog.Control(Ctl::OpenClose) != nullptr);
    }

    void CaptionsFitAndFocusStartsOnTheFirstControl() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.Control(Ctl::PortList));
        QVERIFY(!Get<QPushButton>(dialog, Ctl::Set)->isDefault()); // the template has none
        AboutForm aboutForm;
        CTemplateDlg about(host);
        about.Draw(aboutForm);
        for (QWidget* window : {static_cast<QWidget*>(&dialog), static_cast<QWidget*>(&about)}) {
            for (QWidget* widget : window->findChildren<QWidget*>()) {
                // A push button's size hint has a minimum width of its own; its text must fit.
                int needed = 0;
                if (auto* button = qobject_cast<QPushButton*>(widget)) {
                    needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
                } else if (qobject_cast<QLabel*>(widget) || qobject_cast<QCheckBox*>(widget)) {
                    needed = widget->sizeHint().width();
                }
                if (!widget->isHidden() && needed > widget->width()) {
                    QFAIL(qPrintable(QStringLiteral("clipped: ") +
                                     widget->property("text").toString()));
                }
            }
        }
    }

    void MenuByKeyboard() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(host.m_modalTitles, QStringList{QStringLiteral("关于 Tervan")});
        QVERIFY(host.m_wasVisible);

        // The window's menu, opened from the list that has the focus at first, as a keyboard
        // user opens it.
        QStringList menu;
        QTimer::singleShot(0, &dialog, [&menu] {
            if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (const QAction* action : popup->actions()) {
                    menu.push_back(action->text() + " " + action->shortcut().toString());
                }
                popup->close();
            }
        });
        QTest::keyClick(dialog.Control(Ctl::PortList), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(menu, QStringList({"Save &profile… Ctrl+S", "&Load profile… Ctrl+O", " ",
                                    "关于 Tervan(&A)... F1"}));
    }

    void EnterAndEscEndTheDialog() {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            AnsweringHost host;
            CTervanDlg dialog(host, Form());
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClick(Get<QComboBox>(dialog, Ctl::PortList), key);
            QVERIFY(!dialog.isVisible());
        }
    }
};

} // namespace tervan

QTEST_MAIN(tervan::TervanDlgTest)
#include "TervanDlgTest.moc"
