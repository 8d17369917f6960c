#include "datelist.h"
#include "rowlistview.h"

#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTest>

namespace {

// Counts the rows it is asked to draw.
class CountingDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    mutable int painted = 0;
    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        ++painted;
    }
};

} // namespace

class TestRowListView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void paintsOnlyTheRowsInView();
    void keysMoveTheSelection();
    void clickSelectsTheRowUnderTheMouse();
    void scrollRangeFollowsTheRows();
    void aModelSetTwiceIsFollowedToItsEnd();

private:
    std::unique_ptr<DateList> m_rows;
    std::unique_ptr<RowListView> m_view;
    CountingDelegate* m_delegate = nullptr;
};

void TestRowListView::init()
{
    m_rows = std::make_unique<DateList>();
    std::vector<QByteArray> texts;
    for (int i = 0; i < 100000; ++i)
        texts.push_back(QByteArray::number(10000 + i));
    m_rows->assign(std::vector<QByteArrayView>(texts.begin(), texts.end()));
    m_view = std::make_unique<RowListView>();
    m_view->setModel(m_rows.get());
    // The view does not own its delegate: it is the view's child instead.
    m_delegate = new CountingDelegate(m_view.get());
    m_view->setItemDelegate(m_delegate);
    m_view->setRowHeight(13);
    m_view->resize(297, 121);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestRowListView::cleanup()
{
    m_view.reset();
    m_rows.reset();
}

void TestRowListView::paintsOnlyTheRowsInView()
{
    const int inView = m_view->viewport()->height() / 13;
    QVERIFY(inView >= 8 && inView <= 10);
    m_delegate->painted = 0;
    m_view->viewport()->repaint();
    QVERIFY(m_delegate->painted <= inView + 1);
    QVERIFY(m_delegate->painted >= inView);

    m_view->scrollToBottom();
    m_delegate->painted = 0;
    m_view->viewport()->repaint();
    QVERIFY(m_delegate->painted <= inView + 1);
    QCOMPARE(m_view->firstVisibleRow() + inView, m_rows->count());
}

void TestRowListView::keysMoveTheSelection()
{
    const int inView = m_view->viewport()->height() / 13;
    m_view->setFocus();
    QTest::keyClick(m_view.get(), Qt::Key_Home);
    QCOMPARE(m_view->currentIndex().row(), 0);
    QTest::keyClick(m_view.get(), Qt::Key_Down);
    QCOMPARE(m_view->currentIndex().row(), 1);
    QTest::keyClick(m_view.get(), Qt::Key_PageDown);
    QCOMPARE(m_view->currentIndex().row(), 1 + inView - 1);
    QTest::keyClick(m_view.get(), Qt::Key_End);
    QCOMPARE(m_view->currentIndex().row(), m_rows->count() - 1);
    QVERIFY(m_view->visualRect(m_view->currentIndex()).bottom() < m_view->viewport()->height());
    QCOMPARE(m_view->selectionModel()->selectedRows().value(0).row(), m_rows->count() - 1);
    QTest::keyClick(m_view.get(), Qt::Key_Home);
    QCOMPARE(m_view->currentIndex().row(), 0);
    QCOMPARE(m_view->firstVisibleRow(), 0);
    QTest::keyClick(m_view.get(), Qt::Key_Up); // already at the top
    QCOMPARE(m_view->currentIndex().row(), 0);
}

void TestRowListView::clickSelectsTheRowUnderTheMouse()
{
    m_view->verticalScrollBar()->setValue(500);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, QPoint(20, 3 * 13 + 5));
    QCOMPARE(m_view->selectionModel()->selectedRows().value(0).row(), 503);
    // A row added above keeps the selection on the same date.
    m_rows->add("00000");
    QCOMPARE(m_view->selectionModel()->selectedRows().value(0).row(), 504);
    // Below the last row there is nothing to select.
    DateList few;
    few.add("36994");
    m_view->setModel(&few);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, QPoint(20, 5 * 13));
    QVERIFY(m_view->selectionModel()->selectedRows().isEmpty());
    m_view->setModel(m_rows.get());
}

void TestRowListView::scrollRangeFollowsTheRows()
{
    const int inView = m_view->viewport()->height() / 13;
    QCOMPARE(m_view->verticalScrollBar()->maximum(), m_rows->count() - inView);
    m_rows->remove(0);
    QCOMPARE(m_view->verticalScrollBar()->maximum(), m_rows->count() - inView);
    m_rows->clear();
    QCOMPARE(m_view->verticalScrollBar()->maximum(), 0);
    m_rows->add("36994");
    QCOMPARE(m_view->verticalScrollBar()->maximum(), 0);
}

void TestRowListView::aModelSetTwiceIsFollowedToItsEnd()
{
    auto rows = std::make_unique<DateList>();
    for (const char* text : {"36966", "36994", "37022", "37050", "37078", "37106", "37134", "37162",
                             "37190", "37218", "37246"})
        rows->add(text);
    m_view->setModel(rows.get());
    m_view->setModel(rows.get());
    rows->remove(0);
    QCOMPARE(m_view->verticalScrollBar()->maximum(), 1); // ten rows, nine in view
    rows.reset();
    QCOMPARE(m_view->model(), nullptr);
    m_view->viewport()->repaint();
}

QTEST_MAIN(TestRowListView)
#include "tst_rowlistview.moc"
