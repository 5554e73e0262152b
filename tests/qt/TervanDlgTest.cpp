#include "app/qt/TervanDlg.h"
#include "AnsweringHost.h"
#include "app/qt/AboutDlg.h"
#include "form/ControlIds.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace tervan {

using test::AnsweringHost;

class TervanDlgTest : public QObject {
    Q_OBJECT

    template <typename W> W* Get(CTervanDlg& dialog, int id) {
        return qobject_cast<W*>(dialog.Control(id));
    }

    FormState Form() { return InitialFormState({"USB", "/dev/ttyS0"}, AnsiCodePage{"CP936"}); }

private slots:
    void RuleChangesRaiseNoNotification() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        auto* cut = Get<QComboBox>(dialog, Ctl::BuzzerCut);
        QSignalSpy cutChanges(cut, &QComboBox::currentIndexChanged);
        Get<QComboBox>(dialog, Ctl::BuzzerError)->setCurrentIndex(2);
        QCOMPARE(cut->currentIndex(), 1);
        QCOMPARE(cutChanges.count(), 0);
        QCOMPARE(dialog.Form().At(Ctl::BuzzerCut).selection, 1);
    }

    void CaptionsFitAndFocusStartsOnTheFirstControl() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.Control(Ctl::PortList));
        CAboutDlg about(nullptr);
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

    void PasswordMessageGoesThroughTheHost() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QTest::mouseClick(Get<QCheckBox>(dialog, Ctl::BtPasswordCheck), Qt::LeftButton);
        auto* password = Get<QLineEdit>(dialog, Ctl::BtPassword);
        QTest::keyClicks(password, QStringLiteral("12a"));
        QCOMPARE(host.m_boxes,
                 QStringList{QStringLiteral("[no caption]: 只能输入数字 [no icon] [closed]")});
        QCOMPARE(password->text(), QStringLiteral("12"));
    }

    void AboutBoxOpensAndCloses() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(host.m_modalTitles, QStringList{QStringLiteral("关于 Tervan")});
        QVERIFY(host.m_wasVisible);
        QVERIFY(dialog.actions().contains(dialog.AboutAction()));
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
