#include "accessibility.h"

#include "atspitextranges.h"
#include "itemviewaccessible.h"
#include "textaccessible.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFileSystemModel>
#include <QKeySequence>
#include <QListView>
#include <QPointer>
#include <QRegularExpression>
#include <QTabBar>
#include <QTableView>
#include <QTreeView>

namespace {

// A page tab of a tab bar. Qt's own says the current tab has the focus even
// while another control has it; this one only while its tab bar has it.
class PageTabAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PageTabAccessible(QTabBar* bar, int index) : m_bar(bar), m_index(index) {}

    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_bar ? m_bar->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_bar ? QAccessible::queryAccessibleInterface(m_bar) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        switch (t) {
        case QAccessible::Name:
            return QString(m_bar->tabText(m_index))
                .remove(QRegularExpression(QStringLiteral("&(?!&)")));
        case QAccessible::Accelerator:
            return QKeySequence::mnemonic(m_bar->tabText(m_index))
                .toString(QKeySequence::NativeText);
        case QAccessible::Description:
            return m_bar->tabToolTip(m_index);
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_bar->tabRect(m_index);
        return {m_bar->mapToGlobal(tab.topLeft()), tab.size()};
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool current = m_index == m_bar->currentIndex();
        state.focusable = state.selectable = true;
        state.selected = current;
        state.focused = current && m_bar->hasFocus();
        state.disabled = !m_bar->isEnabled() || !m_bar->isTabEnabled(m_index);
        state.invisible = !m_bar->isVisible() || !m_bar->isTabVisible(m_index);
        state.offscreen = !m_bar->rect().intersects(m_bar->tabRect(m_index));
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (isValid() && action == pressAction())
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int index() const { return m_index; }

private:
    QPointer<QTabBar> m_bar;
    int m_index;
};

class PageTabListAccessible : public QAccessibleWidget {
public:
    explicit PageTabListAccessible(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList)
    {
    }
    ~PageTabListAccessible() override
    {
        for (QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        if (const auto known = m_tabs.constFind(index); known != m_tabs.cend())
            return QAccessible::accessibleInterface(*known);
        auto* tab = new PageTabAccessible(bar(), index);
        m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const auto* tab = dynamic_cast<const PageTabAccessible*>(child);
        return tab && tab->isValid() && tab->parent() == this ? tab->index() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        return child(bar()->tabAt(bar()->mapFromGlobal(QPoint(x, y))));
    }
    QAccessibleInterface* focusChild() const override
    {
        return bar()->hasFocus() ? child(bar()->currentIndex()) : nullptr;
    }

private:
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_tabs;
};

// A list view. One that shows a folder's files, which may be thousands, is a
// table of one column, as the date list is (rowlistviewaccessible.h says
// why). Qt asks for it before the list has its model.
class ListViewAccessible : public ItemViewAccessible {
public:
    explicit ListViewAccessible(QListView* list)
        : ItemViewAccessible(list, QAccessible::List, QAccessible::ListItem)
    {
    }

    QAccessible::Role role() const override
    {
        return showsFiles() ? QAccessible::Table : QAccessible::List;
    }

protected:
    ItemCellAccessible* makeCell(int row, int column) const override
    {
        return new ItemCellAccessible(view(), cellIndex(row, column),
                                      showsFiles() ? QAccessible::Cell : QAccessible::ListItem);
    }

private:
    bool showsFiles() const { return qobject_cast<QFileSystemModel*>(view()->model()); }
};

QAccessibleInterface* programFactory(const QString& className, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    // The days of a month calendar: a table of cells without Qt's hidden
    // header cells, and whose current day is focused only with the calendar.
    if (className == QLatin1String("QCalendarView")) {
        if (auto* days = qobject_cast<QTableView*>(widget))
            return new ItemViewAccessible(days, QAccessible::Table, QAccessible::Cell);
    }
    // Qt's own text controls and item views, such as those of the save and
    // print dialogs, the views with the roles Qt gives them. Qt asks for the
    // most derived class first, and its own interfaces answer for its
    // classes: so these are claimed at the first asking, whatever the class.
    if (className == QLatin1String(object->metaObject()->className())) {
        if (QAccessibleInterface* text = makeTextAccessible(widget))
            return text;
        if (auto* tree = qobject_cast<QTreeView*>(widget))
            return new ItemViewAccessible(tree, QAccessible::Tree, QAccessible::TreeItem);
        if (auto* table = qobject_cast<QTableView*>(widget))
            return new ItemViewAccessible(table, QAccessible::Table, QAccessible::Cell);
        if (auto* list = qobject_cast<QListView*>(widget))
            return new ListViewAccessible(list);
    }
    if (className == QLatin1String("QTabBar"))
        return new PageTabListAccessible(static_cast<QTabBar*>(widget));
    return nullptr;
}

bool isFocusOrSelection(QAccessible::Event type)
{
    return type == QAccessible::Focus || type == QAccessible::Selection ||
           type == QAccessible::SelectionAdd || type == QAccessible::SelectionRemove ||
           type == QAccessible::SelectionWithin;
}

// Whether assistive technology hears of the event. What is not on the screen
// has no focus or selection to tell of (the date dialog's calendar moves its
// current day while the dialog is built and between openings), and only the
// control with the keyboard focus, or an open menu, may say it has the focus:
// Qt's table views tell of their current cell as the focus even without it.
bool isHeard(const QAccessibleEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(event->object());
    if (!widget || !isFocusOrSelection(event->type()))
        return true;
    if (!widget->isVisible())
        return false;
    return event->type() != QAccessible::Focus || widget->hasFocus() ||
           widget->window() == QApplication::activePopupWidget();
}

// Qt's table and tree views number the cells of their events as if a header
// row came first (and in a table, a corner and a header column before each
// row); the program's interfaces number the cells alone, row by row.
void numberCellAsTheTableDoes(QAccessibleEvent* event)
{
    auto* view = qobject_cast<QAbstractItemView*>(event->object());
    const bool table = qobject_cast<QTableView*>(view);
    if (!(table || qobject_cast<QTreeView*>(view)) || event->child() < 0 || !view->model() ||
        !dynamic_cast<ItemViewAccessible*>(QAccessible::queryAccessibleInterface(view)))
        return;
    const int columns = view->model()->columnCount(view->rootIndex());
    const int header = table ? 1 : 0;
    const int perRow = columns + header;
    const int row = perRow > 0 ? event->child() / perRow - 1 : -1;
    const int column = perRow > 0 ? event->child() % perRow - header : -1;
    event->setChild(row < 0 || column < 0 ? -1 : row * columns + column);
}

QAccessible::UpdateHandler g_nextHandler = nullptr;

// Hands what is heard on through Qt to the handler installed before this one;
// without one, as outside the tests, Qt gives it to the platform's bridge.
void passOnWhatIsHeard(QAccessibleEvent* event)
{
    // Qt has already applied a table's change to its interface, and the
    // bridge makes nothing of it.
    if (!isHeard(event) || event->type() == QAccessible::TableModelChanged)
        return;
    numberCellAsTheTableDoes(event);
    QAccessible::installUpdateHandler(g_nextHandler);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(passOnWhatIsHeard);
}

} // namespace

void installProgramAccessibility()
{
    QAccessible::installFactory(programFactory); // kept once, however often installed
    letBridgeSendTextRanges();
    static const bool filtering = [] {
        g_nextHandler = QAccessible::installUpdateHandler(passOnWhatIsHeard);
        return true;
    }();
    Q_UNUSED(filtering);
}
