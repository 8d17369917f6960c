#include "AboutBoxUnit.h"
#include "contrast.h"
#include "programfont.h"

#include "modaldialog.h"
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>

// Stands in for the desktop's browser and mail program.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl& url) { urls << url; }
};

class TestAboutBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        registerFontSubstitutes();
    }

    void init()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &m_desktop, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &m_desktop, "open");
        m_desktop.urls.clear();
    }

    void cleanup()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QApplication::setPalette(QPalette()); // the theme's again
    }

    void enterClosesAtOnce()
    {
        TAboutBox box;
        QString focusAtOpening;
        const int result = runDialog(box, [&] {
            focusAtOpening = focusName();
            pressKey(Qt::Key_Return);
        });
        QCOMPARE(focusAtOpening, QStringLiteral("OKbtn"));
        QCOMPARE(result, int(QDialog::Accepted));
    }

    void titleBarCloseIsCancel()
    {
        TAboutBox box;
        QCOMPARE(runDialog(box, [&] { box.close(); }), int(QDialog::Rejected));
    }

    void noticeTakesEnterAndEscapeDoesNothing()
    {
        QFile file(QStringLiteral(":/texts/freeware.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString designed = QString::fromUtf8(file.readAll());

        TAboutBox first;
        QStringList visits;
        QString edited;
        bool openAfterEscape = false;
        bool openAfterEnterInNotice = false;
        const int result = runDialog(first, [&] {
            pressKey(Qt::Key_Escape);
            openAfterEscape = first.isVisible();
            for (int i = 0; i < 3; ++i) {
                pressKey(Qt::Key_Tab);
                visits << focusName();
            }
            QCOMPARE(focusName(), QStringLiteral("OKbtn"));
            pressKey(Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Hi"));
            pressKey(Qt::Key_Return);
            openAfterEnterInNotice = first.isVisible();
            edited = child<QPlainTextEdit>(first, "RichEdit1")->toPlainText();
            pressKey(Qt::Key_Escape);
            // The Close button's letter presses it at once.
            pressKey(Qt::Key_C, Qt::AltModifier);
            QVERIFY(!first.isVisible());
        });
        QVERIFY(openAfterEscape);
        QCOMPARE(visits, QStringList({QStringLiteral("RichEdit1"), QStringLiteral("BitBtn1"),
                                      QStringLiteral("OKbtn")}));
        QVERIFY(openAfterEnterInNotice);
        QCOMPARE(edited, QStringLiteral("Hi\n") + designed);
        QCOMPARE(result, int(QDialog::Accepted));

        // What was typed is gone at the next opening.
        TAboutBox second;
        QCOMPARE(child<QPlainTextEdit>(second, "RichEdit1")->toPlainText(), designed);
    }

    void enterOnHelpOpensTheHelpDialog()
    {
        TAboutBox box;
        QString helpTitle;
        bool openAfterHelp = false;
        const int result = runDialog(box, [&] {
            child<QPushButton>(box, "BitBtn1")->setFocus();
            QTimer::singleShot(0, &box, [&] {
                QTRY_VERIFY(QApplication::activeModalWidget() != &box);
                QWidget* help = QApplication::activeModalWidget();
                QVERIFY(help);
                helpTitle = help->windowTitle();
                QCOMPARE(help->parentWidget(), &box);
                help->close();
            });
            pressKey(Qt::Key_Return);
            openAfterHelp = box.isVisible() && QApplication::activeModalWidget() == &box;
        });
        QCOMPARE(helpTitle, QStringLiteral("Nuvalora Help"));
        QVERIFY(openAfterHelp);
        QCOMPARE(result, kLeftOpen);
    }

    void linksOpenWithTheDesktop_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("target");
        QTest::newRow("web site") << QStringLiteral("lbldravik")
                                  << QStringLiteral("http://www.dravik.test/")
                                  << QStringLiteral("http://www.dravik.test/index.html");
        QTest::newRow("sales mail")
            << QStringLiteral("lblemail") << QStringLiteral("mail to: sales@dravik.test")
            << QStringLiteral("mailto:sales@dravik.test");
    }

    void linksOpenWithTheDesktop()
    {
        QFETCH(QString, label);
        QFETCH(QString, hint);
        QFETCH(QString, target);
        TAboutBox box;
        bool openAfterClicks = false;
        const int result = runDialog(box, [&] {
            auto* link = box.findChild<QLabel*>(label);
            QVERIFY(link);
            QCOMPARE(link->toolTip(), hint);
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QTest::mouseClick(link, Qt::LeftButton);
            QTest::mouseClick(link, Qt::LeftButton);
            openAfterClicks = box.isVisible() && QApplication::activeModalWidget() == &box;
        });
        QCOMPARE(m_desktop.urls, QList<QUrl>({QUrl(target), QUrl(target)}));
        QCOMPARE(m_desktop.urls.first().toString(), target);
        QVERIFY(openAfterClicks);
        QCOMPARE(result, kLeftOpen);
        // Pure blue as designed; in a dark theme, where it would not stand out, a colour that does.
        QCOMPARE(box.findChild<QLabel*>(label)->palette().color(QPalette::WindowText),
                 QColor(0, 0, 255));
        QApplication::setPalette(QPalette(QColor(0x42, 0x42, 0x45), QColor(0x22, 0x20, 0x20)));
        TAboutBox dark;
        const QColor colour = dark.findChild<QLabel*>(label)->palette().color(QPalette::WindowText);
        QVERIFY(standsOut(colour, dark.palette().color(dark.backgroundRole())));
    }

    void layoutKeepsItsSize()
    {
        TAboutBox box;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.minimumSize(), QSize(327, 303));
        QCOMPARE(box.maximumSize(), QSize(327, 303));

        // The mail link does not grow with its text: a longer address is cut.
        auto* mail = child<QLabel>(box, "lblemail");
        mail->setText(QStringLiteral("a.much.longer.address@sales.dravik.test"));
        QTest::qWait(0);
        QVERIFY(mail->sizeHint().width() > 97);
        QCOMPARE(mail->geometry(), QRect(184, 75, 97, 13));

        // The rights notice stays on one line, clear of the links below it.
        auto* notice = child<QLabel>(box, "Comments");
        QVERIFY(notice->geometry().bottom() < mail->geometry().top());
        QVERIFY(notice->geometry().right() < box.width());
    }

private:
    UrlRecorder m_desktop;
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
