#include "getdate.h"

#include "accessibility.h"
#include "buttonkeys.h"
#include "buttonpicture.h"
#include "programfont.h"
#include "ui_getdate.h"
#include "windowplacement.h"

#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

QPoint centredOnMainWindow(const QRect& mainFrame, const QSize& dialogFrame)
{
    const int left = mainFrame.left() + (mainFrame.width() - dialogFrame.width()) / 2;
    const int top = mainFrame.top() + (mainFrame.height() - dialogFrame.height()) / 2;
    return {std::max(left, 0), std::max(top, 0)};
}

TForm2::TForm2(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_ui(std::make_unique<Ui::TForm2>())
{
    // Before the calendar is built: Qt keeps the first interface made for its days.
    installProgramAccessibility();
    // The calendar's year box is a line edit: see ProgramFontAsDefault.
    const ProgramFontAsDefault fontWhileBuilding;
    setFont(programFont());
    m_ui->setupUi(this);
    setFixedSize(306, 194);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    m_ui->Label1->adjustSize();

    m_ui->BitBtn1->setIcon(buttonPicture(QStringLiteral(":/pictures/check.bmp")));
    m_ui->BitBtn4->setIcon(buttonPicture(QStringLiteral(":/pictures/cross.bmp")));
    connect(m_ui->BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->BitBtn4, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in the calendar chooses its day; a double-click on a day only
    // selects it, so the calendar's own activated signal is left unused.
    connect(m_ui->cal, &MonthCalendar::returnPressed, m_ui->BitBtn1, &QPushButton::click);

    // The calendar is no Tab stop, so that Tab keeps to OK and Cancel; its
    // keys pressed on either button reach it all the same (see eventFilter).
    m_ui->BitBtn1->installEventFilter(this);
    m_ui->BitBtn4->installEventFilter(this);

    installButtonKeys(this);
}

TForm2::~TForm2() = default;

DayNumber TForm2::selectedDay() const
{
    return dayOfDate(m_ui->cal->selectedDate());
}

void TForm2::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        if (!m_openedBefore) {
            m_openedBefore = true;
            placeOnMainWindow();
        }
        // Focus goes back where it was at the last close; OK at the first opening.
        (m_focusAtClose ? m_focusAtClose : m_ui->BitBtn1)->setFocus();
    }
    QDialog::setVisible(visible);
}

void TForm2::done(int result)
{
    m_focusAtClose = focusedControl();
    QDialog::done(result);
}

void TForm2::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormShow();
}

// Showing the dialog changes nothing: the calendar, the place and the focus
// stay as the last close left them.
void TForm2::FormShow() {}

// Without a mouse the calendar is reached by its own keys: pressed on OK or
// Cancel, an arrow, Page Up or Down, Home or End gives the calendar the focus,
// as a click does, and moves its day. So the day is in sight and a screen
// reader tells it, and Enter is then OK, as in the calendar.
bool TForm2::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        (watched == m_ui->BitBtn1 || watched == m_ui->BitBtn4) &&
        m_ui->cal->takeDayKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void TForm2::placeOnMainWindow()
{
    QRect mainFrame;
    QSize decoration;
    if (const QWidget* main = parentWidget()) {
        mainFrame = main->frameGeometry();
        // Before its first showing the dialog has no frame yet; the desktop
        // gives it one like the main window's.
        decoration = mainFrame.size() - main->size();
    } else if (const QScreen* screen = this->screen()) {
        mainFrame = screen->availableGeometry();
    } else {
        return;
    }
    // Moving also tells Qt that the place is chosen, so that it does not
    // centre the dialog again at later openings.
    placeWindow(this, centredOnMainWindow(mainFrame, size() + decoration), screen());
}

QWidget* TForm2::focusedControl() const
{
    QWidget* focus = focusWidget();
    if (focus == m_ui->BitBtn4)
        return m_ui->BitBtn4;
    if (focus && (focus == m_ui->cal || m_ui->cal->isAncestorOf(focus)))
        return m_ui->cal;
    return m_ui->BitBtn1;
}
