#include "monthcalendar.h"

#include "clock.h"
#include "contrast.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QTableView>
#include <QTextCharFormat>
#include <algorithm>
#include <iterator>
#include <memory>
#include <utility>

MonthCalendar::MonthCalendar(QWidget* parent) : QCalendarWidget(parent), m_days(focusProxy())
{
    setVerticalHeaderFormat(NoVerticalHeader);
    setSelectionMode(SingleSelection);
    setFirstDayOfWeek(QLocale::system().firstDayOfWeek());
    // The week and the month arrows run as the locale writes, right to left
    // in Arabic as the desktop's own calendars do; the dialog stays as designed.
    setLayoutDirection(locale().textDirection());
    // The widget's own range is the widest it can show: no limits of ours.
    setDateRange(QDate::fromJulianDay(1), QDate(9999, 12, 31));
    // Typing digits would open a date editor that takes Enter for itself;
    // here Enter always means OK.
    setDateEditEnabled(false);
    useProgramColours();

    // Tab passes the calendar by; a click on any part of it focuses the days.
    setFocusPolicy(Qt::ClickFocus);
    const auto parts = findChildren<QWidget*>();
    for (QWidget* part : parts) {
        if (part->focusPolicy() & Qt::TabFocus)
            part->setFocusPolicy(Qt::ClickFocus);
    }
    if (m_days)
        m_days->installEventFilter(this);
    // Six weeks must fit the calendar's designed height: let the rows share
    // it rather than each keep the height a table row would like.
    if (auto* table = qobject_cast<QTableView*>(m_days)) {
        table->verticalHeader()->setMinimumSectionSize(1);
        table->horizontalHeader()->setMinimumSectionSize(1);
    }

    connect(this, &QCalendarWidget::currentPageChanged, this, &MonthCalendar::keepSelectionOnPage);
    nameParts();
}

// The arrows show only pictures and the year box and the days have no label,
// so a screen reader needs their names.
void MonthCalendar::nameParts()
{
    const std::pair<const char*, QString> names[] = {
        {"qt_calendar_prevmonth", QStringLiteral("Previous month")},
        {"qt_calendar_nextmonth", QStringLiteral("Next month")},
        {"qt_calendar_yearedit", QStringLiteral("Year")},
        {"qt_calendar_calendarview", QStringLiteral("Days of the month")},
    };
    for (const auto& [objectName, name] : names) {
        if (auto* part = findChild<QWidget*>(QLatin1String(objectName)))
            part->setAccessibleName(name);
    }
}

void MonthCalendar::useProgramColours()
{
    // The title bar keeps the highlight colour, standing in for the active
    // title colour, with white text; the month is on white in the window-text
    // colour; days of the neighbouring months keep the grey of disabled text.
    // Where a designed colour would not stand out, as the light text of a dark
    // theme on white, the theme's own colours take its place.
    const QPalette theme = palette();
    QPalette colours = theme;
    if (standsOut(theme.color(QPalette::WindowText), Qt::white)) {
        colours.setColor(QPalette::Base, Qt::white);
        for (const auto group : {QPalette::Active, QPalette::Inactive})
            colours.setColor(group, QPalette::Text, theme.color(group, QPalette::WindowText));
    }
    colours.setColor(QPalette::HighlightedText, Qt::white);
    setPalette(colours);

    QTextCharFormat header;
    header.setBackground(colours.brush(QPalette::Base));
    header.setForeground(colours.brush(QPalette::Text));
    setHeaderTextFormat(header);
    // No red weekends: every day is drawn alike.
    setWeekdayTextFormat(Qt::Saturday, QTextCharFormat());
    setWeekdayTextFormat(Qt::Sunday, QTextCharFormat());
}

bool MonthCalendar::marksToday(QDate date) const
{
    return date == Clock::today() && date.year() == yearShown() && date.month() == monthShown();
}

void MonthCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    QCalendarWidget::paintCell(painter, rect, date);
    if (!marksToday(date))
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(palette().color(QPalette::Text), 1));
    painter->setBrush(Qt::NoBrush);
    painter->drawEllipse(QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5));
    painter->restore();
}

void MonthCalendar::changeEvent(QEvent* event)
{
    QCalendarWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::LocaleChange)
        fitDayNames();
}

// The day names head columns a seventh of the calendar wide. Where the
// locale's short names do not fit them (the Arabic ones are whole words,
// which would be cut short), its narrow names head the columns instead.
void MonthCalendar::fitDayNames()
{
    if (!m_days)
        return;
    // An item view leaves this much room on either side of a cell's text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_days) + 1;
    const int room = m_days->contentsRect().width() / 7 - 2 * margin;
    const QFontMetrics metrics(m_days->font());
    const QLocale names = locale();
    bool fit = true;
    for (int day = Qt::Monday; day <= Qt::Sunday; ++day)
        fit = fit && metrics.horizontalAdvance(names.dayName(day, QLocale::ShortFormat)) <= room;
    const HorizontalHeaderFormat format = fit ? ShortDayNames : SingleLetterDayNames;
    if (format != horizontalHeaderFormat())
        setHorizontalHeaderFormat(format);
}

bool MonthCalendar::takeDayKey(const QKeyEvent& key)
{
    static constexpr int dayKeys[] = {Qt::Key_Left,   Qt::Key_Right,    Qt::Key_Up,   Qt::Key_Down,
                                      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (!m_days ||
        std::find(std::begin(dayKeys), std::end(dayKeys), key.key()) == std::end(dayKeys))
        return false;
    m_days->setFocus(Qt::OtherFocusReason);
    const std::unique_ptr<QKeyEvent> copy(key.clone());
    QCoreApplication::sendEvent(m_days, copy.get());
    return true;
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_days && event->type() == QEvent::Resize)
        fitDayNames();
    if (watched == m_days && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select) {
            Q_EMIT returnPressed();
            return true;
        }
    }
    return QCalendarWidget::eventFilter(watched, event);
}

// The arrows, the month menu and the year box bring another month into view;
// the selection goes along, to the same day of that month where it has one
// and to its last day where not, so that OK always takes a day in sight.
void MonthCalendar::keepSelectionOnPage(int year, int month)
{
    const QDate selected = selectedDate();
    if (selected.year() == year && selected.month() == month)
        return;
    const QDate first(year, month, 1);
    if (!first.isValid())
        return;
    setSelectedDate(QDate(year, month, std::min(selected.day(), first.daysInMonth())));
}
