#pragma once

// Answering the date dialog as a person does: the day picked in the
// calendar, then a click on OK or Cancel.

#include "getdate.h"
#include "modalanswers.h"

#include <QCalendarWidget>
#include <QDate>
#include <QPushButton>
#include <QTest>

inline void answerDateDialog(ModalAnswers& answers, QDate date, bool ok = true)
{
    answers.expect<TForm2>([date, ok](QWidget* dialog) {
        if (date.isValid())
            dialog->findChild<QCalendarWidget*>(QStringLiteral("cal"))->setSelectedDate(date);
        QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? QStringLiteral("BitBtn1")
                                                             : QStringLiteral("BitBtn4")),
                          Qt::LeftButton);
    });
}
