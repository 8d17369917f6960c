#include "morehelp.h"
#include "programfont.h"

#include "modaldialog.h"
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <functional>

namespace {

QString resourceFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace

class TestMoreHelp : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        registerFontSubstitutes();
    }

    void everyOpeningStartsFromTheDesign()
    {
        const QString licence = resourceFile(QStringLiteral(":/texts/licence.txt"));
        QVERIFY(!licence.isEmpty());

        TdlgMoreHelp first;
        QString focusAtOpening;
        QString editedLicence;
        const int firstResult = runDialog(first, [&] {
            focusAtOpening = focusName();
            auto* pages = child<QTabWidget>(first, "PageControl1");
            pages->setCurrentIndex(2);
            auto* box = child<QTextEdit>(first, "RichEdit3");
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("Edited. "));
            editedLicence = box->toPlainText();
            QTest::mouseClick(child<QPushButton>(first, "BitBtn1"), Qt::LeftButton);
        });
        QCOMPARE(firstResult, int(QDialog::Rejected));
        QCOMPARE(focusAtOpening, QStringLiteral("BitBtn1"));
        QCOMPARE(editedLicence, QStringLiteral("Edited. ") + licence);

        // The second opening is closed by the title bar, with the same result.
        TdlgMoreHelp second;
        int page = -1;
        QStringList texts;
        const int secondResult = runDialog(second, [&] {
            page = child<QTabWidget>(second, "PageControl1")->currentIndex();
            texts << child<QPlainTextEdit>(second, "RichEdit1")->toPlainText()
                  << child<QPlainTextEdit>(second, "RichEdit2")->toPlainText()
                  << child<QTextEdit>(second, "RichEdit3")->toPlainText();
            second.close();
        });
        QCOMPARE(secondResult, int(QDialog::Rejected));
        QCOMPARE(page, 0);
        QCOMPARE(texts,
                 QStringList({resourceFile(QStringLiteral(":/texts/usage.txt")),
                              resourceFile(QStringLiteral(":/texts/reference.txt")), licence}));
    }

    void onlyTheLicenceTakesTyping_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("box");
        QTest::addColumn<bool>("editable");
        QTest::newRow("usage") << 0 << QStringLiteral("RichEdit1") << false;
        QTest::newRow("reference") << 1 << QStringLiteral("RichEdit2") << false;
        QTest::newRow("licence") << 2 << QStringLiteral("RichEdit3") << true;
    }

    void onlyTheLicenceTakesTyping()
    {
        QFETCH(int, page);
        QFETCH(QString, box);
        QFETCH(bool, editable);
        TdlgMoreHelp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(page);
        auto* edit = dialog.findChild<QAbstractScrollArea*>(box);
        QVERIFY(edit);
        auto text = [edit] {
            if (auto* plain = qobject_cast<QPlainTextEdit*>(edit))
                return plain->toPlainText();
            return qobject_cast<QTextEdit*>(edit)->toPlainText();
        };
        const QString before = text();
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("xyz"));
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(text() != before, editable);
        QVERIFY(dialog.isVisible()); // Enter in a text box does not close the dialog
    }

    void keyboard()
    {
        TdlgMoreHelp dialog;
        QStringList visits;
        bool openAfterEscape = false;
        bool openAfterEnterInText = false;
        bool openAfterEscapeInText = false;
        const int result = runDialog(dialog, [&] {
            for (int i = 0; i < 4; ++i) {
                visits << focusName();
                pressKey(Qt::Key_Tab);
            }
            QCOMPARE(focusName(), QStringLiteral("qt_tabwidget_tabbar"));
            pressKey(Qt::Key_Escape);
            openAfterEscape = dialog.isVisible();
            pressKey(Qt::Key_Tab);
            pressKey(Qt::Key_Return);
            openAfterEnterInText = dialog.isVisible();
            pressKey(Qt::Key_Escape);
            openAfterEscapeInText = dialog.isVisible();
            child<QPushButton>(dialog, "BitBtn1")->setFocus();
            pressKey(Qt::Key_Return);
        });
        QCOMPARE(visits,
                 QStringList({QStringLiteral("BitBtn1"), QStringLiteral("qt_tabwidget_tabbar"),
                              QStringLiteral("RichEdit1"), QStringLiteral("BitBtn1")}));
        QVERIFY(openAfterEscape);
        QVERIFY(openAfterEnterInText);
        QVERIFY(openAfterEscapeInText);
        QCOMPARE(result, int(QDialog::Rejected));
    }

    void closeByItsLetter_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter alone on the button") << QStringLiteral("BitBtn1") << false << true;
        QTest::newRow("Alt+letter in the usage text")
            << QStringLiteral("RichEdit1") << true << true;
        QTest::newRow("letter alone in the usage text")
            << QStringLiteral("RichEdit1") << false << false;
    }

    void closeByItsLetter()
    {
        QFETCH(QString, focus);
        QFETCH(bool, alt);
        QFETCH(bool, closes);
        TdlgMoreHelp dialog;
        const int result = runDialog(dialog, [&] {
            dialog.findChild<QWidget*>(focus)->setFocus();
            // The letter presses the button at once, with or without Alt.
            pressKey(Qt::Key_C, alt ? Qt::AltModifier : Qt::NoModifier);
        });
        QCOMPARE(result, closes ? int(QDialog::Rejected) : kLeftOpen);
    }

    void ctrlTabTurnsThePages_data()
    {
        QTest::addColumn<QString>("from");
        QTest::newRow("page tabs") << QStringLiteral("PageControl1");
        QTest::newRow("read-only text") << QStringLiteral("RichEdit1");
        QTest::newRow("licence text") << QStringLiteral("RichEdit3");
    }

    void ctrlTabTurnsThePages()
    {
        QFETCH(QString, from);
        TdlgMoreHelp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* pages = child<QTabWidget>(dialog, "PageControl1");
        auto* focus = dialog.findChild<QWidget*>(from);
        pages->setCurrentWidget(focus->parentWidget()->objectName().startsWith(u"TabSheet")
                                    ? focus->parentWidget()
                                    : pages->widget(0));
        focus->setFocus();
        const QString licence = child<QTextEdit>(dialog, "RichEdit3")->toPlainText();

        QList<int> seen{pages->currentIndex()};
        for (int i = 0; i < 3; ++i) {
            pressKey(Qt::Key_Tab, Qt::ControlModifier);
            seen << pages->currentIndex();
        }
        pressKey(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        seen << pages->currentIndex();

        const int start = seen.first();
        QCOMPARE(seen,
                 QList<int>({start, (start + 1) % 3, (start + 2) % 3, start, (start + 2) % 3}));
        QCOMPARE(child<QTextEdit>(dialog, "RichEdit3")->toPlainText(), licence);
        QVERIFY(dialog.isVisible());
    }

    void scrollBars()
    {
        TdlgMoreHelp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // At the designed size the usage text is taller than its box.
        QTRY_VERIFY(child<QPlainTextEdit>(dialog, "RichEdit1")->verticalScrollBar()->isVisible());

        // The licence box shows no scroll bar, but the keyboard reaches its end.
        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(2);
        auto* licence = child<QTextEdit>(dialog, "RichEdit3");
        QVERIFY(!licence->verticalScrollBar()->isVisible());
        QVERIFY(!licence->horizontalScrollBar()->isVisible());
        QCOMPARE(licence->verticalScrollBar()->value(), 0);
        licence->setFocus();
        QTest::keyClick(licence, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(licence->verticalScrollBar()->value() > 0);
        QVERIFY(licence->cursorRect().bottom() <= licence->viewport()->height());
    }

    void resizingKeepsThePanelAndTheChart_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("designed") << QSize(567, 563);
        QTest::newRow("larger") << QSize(900, 720);
        QTest::newRow("odd width") << QSize(640, 600);
    }

    void resizingKeepsThePanelAndTheChart()
    {
        QFETCH(QSize, size);
        const QImage chart =
            QImage(QStringLiteral(":/pictures/chart.bmp")).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(chart.size(), QSize(295, 260));

        TdlgMoreHelp dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        child<QTabWidget>(dialog, "PageControl1")->setCurrentIndex(1);
        dialog.resize(size);

        auto* panel = child<QWidget>(dialog, "Panel1");
        auto* page = child<QWidget>(dialog, "TabSheet2");
        auto* image = child<QWidget>(dialog, "Image1");
        auto* text = child<QPlainTextEdit>(dialog, "RichEdit2");
        QTRY_COMPARE(dialog.size(), size);
        QTRY_COMPARE(panel->geometry(), QRect(0, size.height() - 40, size.width(), 40));
        QCOMPARE(child<QPushButton>(dialog, "BitBtn1")->geometry(), QRect(440, 7, 115, 29));
        QTRY_COMPARE(image->geometry(), QRect(0, page->height() - 260, page->width(), 260));
        QCOMPARE(text->geometry(), QRect(0, 0, page->width(), page->height() - 260));

        // The chart is drawn at its own size, centred across the strip.
        const QImage strip = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(strip.size(), QSize(page->width(), 260));
        QCOMPARE(strip.copy((page->width() - 295) / 2, 0, 295, 260), chart);
    }
};

QTEST_MAIN(TestMoreHelp)
#include "tst_morehelp.moc"
