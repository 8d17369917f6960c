// The bare twins of the program's windows, timed by OpeningTimer beside the
// program's own: plain Qt dialogs of the same size and controls, with the same
// texts, pictures, font and style, set up as any Qt program would set them up,
// and built the same way: the date dialog once, hidden, after the main
// window's first paint; the others anew at each press. Each is opened by the
// same press as the program's window; Alt+H is a plain shortcut that opens
// the help twin at once.

#include "programfont.h"
#include "windows_probe.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTest>
#include <QTextCharFormat>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QString text(const char* path)
{
    QFile file{QLatin1String(path)};
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QPixmap picture(const char* path)
{
    return QPixmap(QLatin1String(path), "BMP");
}

QPushButton* pictureButton(const char* caption, const char* icon, const QRect& place,
                           QWidget* parent)
{
    auto* button = new QPushButton(QLatin1String(caption), parent);
    button->setGeometry(place);
    button->setIcon(picture(icon).copy(0, 0, 18, 18));
    button->setIconSize({18, 18});
    return button;
}

QLabel* label(const char* caption, const QPoint& place, const QFont& font, QWidget* parent)
{
    auto* label = new QLabel(QLatin1String(caption), parent);
    label->setFont(font);
    label->move(place);
    label->adjustSize();
    return label;
}

QFont arial(int pixels)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

void openHelp(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Nuvalora Help"));
    dialog.setFont(programFont());
    dialog.resize(567, 563);
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* pages = new QTabWidget;
    layout->addWidget(pages);

    auto* usage = new QPlainTextEdit(text(":/texts/usage.txt"));
    usage->setReadOnly(true);
    pages->addTab(usage, QStringLiteral("Usage Instructions"));

    auto* reference = new QWidget;
    auto* referenceLayout = new QVBoxLayout(reference);
    referenceLayout->setContentsMargins(0, 0, 0, 0);
    referenceLayout->setSpacing(0);
    auto* referenceText = new QPlainTextEdit(text(":/texts/reference.txt"));
    referenceText->setReadOnly(true);
    referenceLayout->addWidget(referenceText);
    auto* chart = new QLabel;
    chart->setPixmap(picture(":/pictures/chart.bmp"));
    chart->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    chart->setFixedHeight(260);
    referenceLayout->addWidget(chart);
    pages->addTab(reference, QStringLiteral("Reference Information"));

    auto* licence = new QTextEdit;
    licence->setPlainText(text(":/texts/licence.txt"));
    licence->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pages->addTab(licence, QStringLiteral("License Agreement"));

    auto* panel = new QWidget;
    panel->setFixedHeight(40);
    layout->addWidget(panel);
    auto* close = pictureButton("&Close", ":/pictures/close.bmp", {440, 7, 115, 29}, panel);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    close->setFocus();
    dialog.exec();
}

void openAbout(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("About Nuvalora"));
    dialog.setFont(programFont());
    dialog.setFixedSize(327, 303);
    auto* bevel = new QFrame(&dialog);
    bevel->setGeometry(8, 8, 313, 97);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    QFont productFont = arial(21);
    productFont.setBold(true);
    label("Nuvalora Sex Planner", {80, 24}, productFont, &dialog);
    QFont linkFont = arial(11);
    linkFont.setUnderline(true);
    QPalette linkColours = dialog.palette();
    linkColours.setColor(QPalette::WindowText, QColor(0, 0, 255));
    for (QLabel* link : {label("Dravik Software", {88, 74}, linkFont, &dialog),
                         label("sales@dravik.test", {184, 75}, linkFont, &dialog)}) {
        link->setPalette(linkColours);
        link->setCursor(Qt::PointingHandCursor);
    }
    label("\u00a9 2001 Dravik", {184, 55}, arial(11), &dialog)->setWordWrap(true);
    auto* image = new QLabel(&dialog);
    image->setGeometry(24, 24, 48, 48);
    image->setPixmap(picture(":/pictures/icon.bmp").scaled(48, 48));
    label("Version 1.0", {112, 56}, dialog.font(), &dialog);
    auto* close = pictureButton("&Close", ":/pictures/close.bmp", {136, 272, 89, 25}, &dialog);
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* group = new QGroupBox(QStringLiteral("Registration Information"), &dialog);
    group->setGeometry(8, 112, 313, 153);
    auto* notice = new QPlainTextEdit(text(":/texts/freeware.txt"), group);
    notice->setGeometry(12, 20, 289, 121);
    notice->setFrameShape(QFrame::NoFrame);
    pictureButton("&Help", ":/pictures/question.bmp", {232, 272, 89, 25}, &dialog);
    close->setFocus();
    dialog.exec();
}

void openInputBox(QWidget* parent)
{
    // The program's input box in pixels, as its dialog units come out in its font.
    QDialog box(parent);
    box.setWindowTitle(QStringLiteral("Length of Cycle"));
    box.setFont(programFont());
    label("Enter the average length of your cycle", {12, 12}, box.font(), &box);
    auto* edit = new QLineEdit(&box);
    edit->setMaxLength(255);
    edit->setGeometry(12, 29, 246, edit->sizeHint().height());
    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setDefault(true);
    ok->setGeometry(57, 62, 75, 21);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &box);
    cancel->setGeometry(138, 62, 75, 21);
    QObject::connect(cancel, &QPushButton::clicked, &box, &QDialog::reject);
    box.setFixedSize(270, 95);
    edit->setFocus();
    box.exec();
}

// The date dialog's twin: built once, shown at each opening.
class DateDialog : public QDialog {
public:
    explicit DateDialog(QWidget* parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Select Date"));
        setFont(programFont());
        setFixedSize(306, 194);
        label("Please select the date of the first day of your period", {8, 8}, font(), this);
        auto* calendar = new QCalendarWidget(this);
        calendar->setGeometry(10, 29, 209, 161);
        calendar->setSelectedDate(QDate(2001, 4, 13));
        calendar->setGridVisible(false);
        calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
        calendar->setHeaderTextFormat(QTextCharFormat()); // the day names not in bold, as designed
        auto* ok = pictureButton("OK", ":/pictures/check.bmp", {224, 128, 75, 25}, this);
        ok->setDefault(true);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        auto* cancel = pictureButton("Cancel", ":/pictures/cross.bmp", {224, 160, 75, 25}, this);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
        ok->setFocus();
    }
};

// The main window's twin: the buttons that open the windows, and a close
// that fails as the program's does when it cannot save.
class MainWindow : public QWidget {
public:
    explicit MainWindow(const QFont& platformFont) : m_platformFont(platformFont)
    {
        setWindowTitle(QStringLiteral("Nuvalora Sex Planner"));
        setFont(programFont());
        setFixedSize(594, 541);
        // The buttons where the main window has them, so that a press repaints
        // as much.
        auto* dates = new QGroupBox(QStringLiteral("Dates of Start of Period"), this);
        dates->setGeometry(8, 8, 449, 197);
        // The note in bold, as the main window shows it from the start.
        QFont bold = font();
        bold.setBold(true);
        label("Note: The final line must be the starting date of your last period", {16, 173}, bold,
              dates);
        auto* length = new QGroupBox(QStringLiteral("Average Length of Menstrual Cycle"), this);
        length->setGeometry(8, 212, 449, 113);
        auto* results = new QGroupBox(QStringLiteral("Results"), this);
        results->setGeometry(8, 332, 449, 201);
        auto* add = new QPushButton(QStringLiteral("Add Date..."), dates);
        add->setGeometry(328, 72, 107, 25);
        auto* setLength = new QPushButton(QStringLiteral("Set Manually"), length);
        setLength->setGeometry(328, 70, 107, 25);
        m_buttons = {
            add, setLength,
            pictureButton("Help...", ":/pictures/helpbook.bmp", {470, 460, 115, 33}, this),
            pictureButton("About...", ":/pictures/question.bmp", {470, 500, 115, 33}, this),
            pictureButton("Close", ":/pictures/close.bmp", {470, 420, 115, 33}, this)};
        connect(m_buttons[0], &QPushButton::clicked, this, [this] { dateDialog().exec(); });
        connect(m_buttons[1], &QPushButton::clicked, this, [this] { openInputBox(this); });
        connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_H), this), &QShortcut::activated, this,
                [this] { openHelp(this); });
        connect(m_buttons[3], &QPushButton::clicked, this, [this] { openAbout(this); });
        connect(m_buttons[4], &QPushButton::clicked, this, &QWidget::close);
        m_buttons[0]->setFocus();
    }

    QPushButton* button(int index) const { return m_buttons[index]; }

    DateDialog& dateDialog()
    {
        if (!m_dateDialog)
            m_dateDialog = new DateDialog(this);
        return *m_dateDialog;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_dateDialog)
            QTimer::singleShot(0, this, [this] { dateDialog(); });
    }

    void closeEvent(QCloseEvent* event) override
    {
        event->ignore();
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Nuvalora Sex Planner"),
                        QStringLiteral("Cannot create file /proc/nuvalora/month.dat."),
                        QMessageBox::Ok);
        box.setFont(m_platformFont);
        box.setWindowModality(Qt::ApplicationModal);
        box.exec();
    }

private:
    QFont m_platformFont;
    std::vector<QPushButton*> m_buttons;
    DateDialog* m_dateDialog = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuvalora Sex Planner"));
    QApplication::setWindowIcon(QIcon(picture(":/pictures/icon.bmp")));
    QApplication::setStyle(QStringLiteral("Windows"));
    registerFontSubstitutes();
    // The error box keeps the platform's font; every other window has the program's.
    const QFont platformFont = QApplication::font();
    QApplication::setFont(programFont());

    MainWindow window(platformFont);
    auto click = [&window](int index) {
        return [&window, index] { QTest::mouseClick(window.button(index), Qt::LeftButton); };
    };
    OpeningTimer timer(&window,
                       {
                           {"date dialog", click(0)},
                           {"input box", click(1)},
                           {"Help",
                            [&window] {
                                QWidget* focus = QApplication::focusWidget();
                                QTest::keyClick(focus ? focus : &window, Qt::Key_H,
                                                Qt::AltModifier);
                            }},
                           {"About", click(3)},
                           {"error box", click(4)},
                       },
                       argc, argv);
    window.show();
    return app.exec();
}
