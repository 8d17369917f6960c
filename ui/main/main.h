#pragma once

// The main window. The dates live in a DateList, the model that lbxdates
// shows and the store loads at FormShow and saves at FormClose; UpdateDisplay
// builds the results report from it into memo1 and edtLength. Dates come in
// through the date selection dialog (TForm2), made once and kept hidden
// between uses. Results leave through ResultsPrinter and ResultsSaver.

#include "datelist.h"
#include "daynumber.h"
#include "resultsfile.h"
#include "resultsprinter.h"

#include <QSet>
#include <QStyle>
#include <QWidget>
#include <memory>
#include <optional>

class QPainter;
class TForm2;

namespace Ui {
class TForm1;
}

// Shows the date selection dialog and yields the picked day, or nothing.
std::optional<DayNumber> askForDate(TForm2& dialog);

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(const QString& storePath, QWidget* parent = nullptr);
    ~TForm1() override;

    // The date selection dialog, made the first time it is wanted and kept
    // for the rest of the run.
    TForm2& dateDialog();
    DateList& dates() { return m_dates; }
    QString storePath() const { return m_storePath; }

    // Builds the results report; automatic works the length out of the list,
    // manual takes the number in the length box.
    void UpdateDisplay(bool automatic);

    // The row's text as the list shows it: its date and the cycle it closes.
    QString rowDisplayText(int row) const;

    // The desktop session is about to end: keep the dates now, without a
    // word; a failure cannot be shown then and must not hold the session up.
    void saveForSessionEnd();
    // The desktop session ends the program: the dates are kept once more, in
    // the same way, only if they changed since saveForSessionEnd, and the
    // close that follows goes through without asking anything.
    void endWithSession();

    void FormShow();
    // Throws when the dates cannot be kept; says so when they were kept
    // beside month.dat because it could not be read.
    void FormClose();

Q_SIGNALS:
    // True when a close begins (the dates are about to be kept, and the
    // program to end); false when a close is given up and the window stays.
    void closingChanged(bool closing);

public Q_SLOTS:
    void btnAddClick();
    void btnEditClick();
    void btnDeleteClick();
    void lbxdatesClick();
    void btnSetLengthClick();
    void BitBtn2Click();
    void btnPrintClick();
    void btnSaveClick();
    void BitBtn1Click();
    void BitBtn3Click();

public:
    void lbxdatesDrawItem(QPainter* painter, int index, const QRect& rect, QStyle::State state);

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectHandler(class QAbstractButton* button, void (TForm1::*handler)());
    void reportUndrawableRow(const QString& message);
    std::optional<int> selectedRow() const;
    // Keeps the dates in month.dat; returns the file they went to instead,
    // if any (see m_storeUnread). Throws when they cannot be kept.
    QString keepDates();

    std::unique_ptr<Ui::TForm1> ui;
    DateList m_dates;
    QString m_storePath;
    TForm2* m_dateDialog = nullptr;
    ResultsPrinter m_printer;
    ResultsSaver m_saver;
    bool m_shownBefore = false;
    // month.dat could not be loaded: the list holds only the dates entered
    // since, and must never be written over month.dat's rows.
    bool m_storeUnread = false;
    bool m_keptForSessionEnd = false; // saved for the session, unchanged since
    bool m_endingWithSession = false;
    // Undrawable rows already reported since the list last changed, so that
    // repainting after the error box does not report them again and again.
    QSet<QString> m_reportedRowErrors;
    bool m_rowReportPending = false;
};
