#include "app/qt/AccessibleList.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>

namespace tervan {

namespace {

// As Qt's own combo box interface, but named as other widgets are: by its accessible name, else
// by the label whose buddy it is, and only then by its current item.
class CAccessibleList : public QAccessibleWidget {
public:
    explicit CAccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) {
            return List()->currentText();
        }
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? List()->currentText() : text;
    }

    // The open list, as Qt's own interface has it, so the items can be read and chosen.
    int childCount() const override { return List()->view() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && List()->view() != nullptr
                   ? QAccessible::queryAccessibleInterface(List()->view())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && List()->view() != nullptr && child->object() == List()->view()
                   ? 0
                   : -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            if (List()->view()->isVisible()) {
                List()->hidePopup();
            } else {
                List()->showPopup();
            }
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QComboBox* List() const { return static_cast<QComboBox*>(widget()); }
};

// Every list that takes no typing, whenever its interface is first asked for: a list may be
// asked while it is being built, before its name is set.
QAccessibleInterface* ListFactory(const QString& className, QObject* object) {
    auto* list = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || list == nullptr || list->isEditable()) {
        return nullptr; // Qt's own interface
    }
    return new CAccessibleList(list);
}

} // namespace

void InstallListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&ListFactory);
        return true;
    }();
    (void)installed;
}

} // namespace tervan
