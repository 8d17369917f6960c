#pragma once

#include "daynumber.h"

#include <QDialog>
#include <QRect>
#include <memory>

namespace Ui {
class TForm2;
}

// Where the dialog goes at its first opening: centred on the main window's
// outer frame (halves rounded down), with no coordinate below 0.
QPoint centredOnMainWindow(const QRect& mainFrame, const QSize& dialogFrame);

// The date selection dialog. The frame creates it once; it is hidden between
// openings and keeps its calendar, its place and its focus for the next one.
class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The day selected in the calendar, a whole day number.
    DayNumber selectedDay() const;

    void setVisible(bool visible) override;
    void done(int result) override;

    void FormShow();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeOnMainWindow();
    QWidget* focusedControl() const;

    std::unique_ptr<Ui::TForm2> m_ui;
    bool m_openedBefore = false;
    QWidget* m_focusAtClose = nullptr;
};
