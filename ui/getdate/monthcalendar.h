#pragma once

#include <QCalendarWidget>

// The date dialog's month calendar: one month at a time, one selected day
// that moves along when another month is brought into view, and today ringed
// while its month is shown; its week runs in the locale's direction. It is
// reached by clicking, never by Tab; Enter in it is passed on as returnPressed
// rather than taken as a choice of its own. Its columns are headed by the
// locale's short day names, or by its narrow ones where the short names are
// too wide for them.
class MonthCalendar : public QCalendarWidget {
    Q_OBJECT
public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // Whether the cell of this date gets today's circle.
    bool marksToday(QDate date) const;

    // A key pressed elsewhere that is one of the calendar's own (an arrow,
    // Page Up or Down, Home or End, with any modifiers) gives the days the
    // focus and moves the selected day as it does there. Says whether it was.
    bool takeDayKey(const QKeyEvent& key);

Q_SIGNALS:
    void returnPressed();

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void useProgramColours();
    void nameParts();
    void keepSelectionOnPage(int year, int month);
    void fitDayNames();

    QWidget* m_days; // the grid of days, which holds the calendar's focus
};
