#include "app/qt/TervanDlg.h"
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
namespace {

// Answers every box at once and remembers what was shown.
class AnsweringHost : public CDialogHost {
public:
    void MessageBox(QWidget*, const QString& text, const std::optional<QString>& caption,
                    MessageIcon) override {
        m_messages.push_back(text);
        m_captions.push_back(caption);
    }
    std::optional<std::filesystem::path> ChooseFile(QWidget*, const QString&, const QString&,
                                                    const QString&) override {
        return std::nullopt;
    }
    int RunModal(QDialog& dialog) override {
        m_modalTitles.push_back(dialog.windowTitle());
        dialog.open();
        m_wasVisible = dialog.isVisible();
        dialog.accept();
        return dialog.result();
    }

    QStringList m_messages;
    std::vector<std::optional<QString>> m_captions;
    QStringList m_modalTitles;
    bool m_wasVisible = false;
};

} // namespace

class TervanDlgTest : public QObject {
    Q_OBJECT

    template <typename W> W* Get(CTervanDlg& dialog, int id) {
        return qobject_cast<W*>(dialog.Control(id));
    }

    FormState Form() { return InitialFormState({"USB", "/dev/ttyS0"}, AnsiCodePage{"CP936"}); }

private slots:
    void ClickReachesTheRule() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        auto* edit = Get<QLineEdit>(dialog, Ctl::Manufacturer);
        QVERIFY(!edit->isEnabled());
        QTest::mouseClick(Get<QCheckBox>(dialog, Ctl::ManufacturerCheck), Qt::LeftButton);
        QVERIFY(edit->isEnabled());
        QVERIFY(dialog.Form().At(Ctl::ManufacturerCheck).checked);
    }

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

    void EditLimits() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        const std::pair<int, int> limits[] = {{Ctl::Manufacturer, 259},
                                              {Ctl::Model, 259},
                                              {Ctl::SerialNumber, 259},
                                              {Ctl::BtName, 40},
                                              {Ctl::BtPassword, 4}};
        for (const auto& [id, limit] : limits) {
            QCOMPARE(Get<QLineEdit>(dialog, id)->maxLength(), limit);
        }
    }

    void PasswordMessageGoesThroughTheHost() {
        AnsweringHost host;
        CTervanDlg dialog(host, Form());
        dialog.show();
        QTest::mouseClick(Get<QCheckBox>(dialog, Ctl::BtPasswordCheck), Qt::LeftButton);
        auto* password = Get<QLineEdit>(dialog, Ctl::BtPassword);
        QTest::keyClicks(password, QStringLiteral("12a"));
        QCOMPARE(host.m_messages, QStringList{QStringLiteral("只能输入数字")});
        QVERIFY(!host.m_captions.front().has_value());
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
