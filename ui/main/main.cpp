#include "main.h"

#include "AboutBoxUnit.h"
#include "accessibility.h"
#include "buttonkeys.h"
#include "buttonpicture.h"
#include "datestore.h"
#include "error.h"
#include "errorbox.h"
#include "getdate.h"
#include "inputbox.h"
#include "morehelp.h"
#include "numbertext.h"
#include "programfont.h"
#include "report.h"
#include "ui_main.h"
#include "windowplacement.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

namespace {

constexpr int kRowHeight = 13;

// Draws the date list's rows through the window's lbxdatesDrawItem, on a
// surface prepared as the list would: its font and colours, the highlight
// for the selected row, and the focus rectangle afterwards.
class DateRowDelegate : public QStyledItemDelegate {
public:
    DateRowDelegate(TForm1* form, QObject* parent) : QStyledItemDelegate(parent), m_form(form) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        painter->save();
        painter->setFont(option.font);
        m_form->lbxdatesDrawItem(painter, index.row(), option.rect, option.state);
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = option.palette.color(QPalette::Base);
            const QWidget* widget = option.widget;
            QStyle* style = widget ? widget->style() : nullptr;
            if (style)
                style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), kRowHeight};
    }

private:
    TForm1* m_form;
};

// UpdateDisplay writes into the results box and the length box.
class WindowReportSink : public ReportSink {
public:
    WindowReportSink(QPlainTextEdit* results, QLineEdit* length)
        : m_results(results), m_length(length)
    {
    }
    void clearLines() override { m_results->clear(); }
    void addLine(const QString& line) override { m_results->appendPlainText(line); }
    QString lengthText() const override { return m_length->text(); }
    void setLengthText(const QString& text) override { m_length->setText(text); }

private:
    QPlainTextEdit* m_results;
    QLineEdit* m_length;
};

// A wrapping label keeps its width and grows to as many lines as it needs.
void fitWrappingLabel(QLabel* label)
{
    label->resize(label->width(), label->heightForWidth(label->width()));
}

} // namespace

std::optional<DayNumber> askForDate(TForm2& dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.selectedDay();
}

TForm1::TForm1(const QString& storePath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui(std::make_unique<Ui::TForm1>()), m_storePath(storePath)
{
    installProgramAccessibility();
    // The length box is a line edit: see ProgramFontAsDefault.
    const ProgramFontAsDefault fontWhileBuilding;
    setFont(programFont());
    ui->setupUi(this);
    setFixedSize(594, 541);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    fitWrappingLabel(ui->Label1);
    fitWrappingLabel(ui->Label2);

    ui->BitBtn2->setIcon(buttonPicture(QStringLiteral(":/pictures/close.bmp")));
    ui->BitBtn2->setIconSize({18, 18});
    ui->BitBtn1->setIcon(buttonPicture(QStringLiteral(":/pictures/helpbook.bmp")));
    ui->BitBtn1->setIconSize({16, 16});
    ui->BitBtn3->setIcon(buttonPicture(QStringLiteral(":/pictures/question.bmp")));
    ui->BitBtn3->setIconSize({18, 18});

    // The length box is read-only, so it wears the button face, not the window colour.
    QPalette lengthPalette = ui->edtLength->palette();
    lengthPalette.setColor(QPalette::Base, lengthPalette.color(QPalette::Button));
    ui->edtLength->setPalette(lengthPalette);

    ui->lbxdates->setModel(&m_dates);
    ui->lbxdates->setItemDelegate(new DateRowDelegate(this, ui->lbxdates));
    ui->lbxdates->setRowHeight(kRowHeight);
    ui->lbxdates->setRowText([this](int row) { return rowDisplayText(row); });

    // A row's cycle length depends on the row above, so a change anywhere
    // repaints the rows below it too; and any change may make an undrawable
    // row drawable, or another one undrawable, so reports start afresh.
    auto listChanged = [this] {
        m_keptForSessionEnd = false;
        m_reportedRowErrors.clear();
        ui->lbxdates->viewport()->update();
    };
    connect(&m_dates, &QAbstractItemModel::dataChanged, this, listChanged);
    connect(&m_dates, &QAbstractItemModel::rowsInserted, this, listChanged);
    connect(&m_dates, &QAbstractItemModel::rowsRemoved, this, listChanged);
    connect(&m_dates, &QAbstractItemModel::modelReset, this, listChanged);
    connect(ui->lbxdates->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { runGuarded([this] { lbxdatesClick(); }); });

    connectHandler(ui->btnAdd, &TForm1::btnAddClick);
    connectHandler(ui->btnEdit, &TForm1::btnEditClick);
    connectHandler(ui->btnDelete, &TForm1::btnDeleteClick);
    connectHandler(ui->btnSetLength, &TForm1::btnSetLengthClick);
    connectHandler(ui->BitBtn2, &TForm1::BitBtn2Click);
    connectHandler(ui->btnPrint, &TForm1::btnPrintClick);
    connectHandler(ui->btnSave, &TForm1::btnSaveClick);
    connectHandler(ui->BitBtn1, &TForm1::BitBtn1Click);
    connectHandler(ui->BitBtn3, &TForm1::BitBtn3Click);

    installButtonKeys(this);
    ui->btnAdd->setFocus();
}

TForm1::~TForm1() = default;

void TForm1::connectHandler(QAbstractButton* button, void (TForm1::*handler)())
{
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { runGuarded([this, handler] { (this->*handler)(); }); });
}

std::optional<int> TForm1::selectedRow() const
{
    const QModelIndexList selected = ui->lbxdates->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.front().row();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_shownBefore)
        return;
    m_shownBefore = true;
    runGuarded([this] { FormShow(); });
}

void TForm1::setVisible(bool visible)
{
    // Centred on the whole screen at the first showing. The window's size is
    // fixed, so the dates the show handler loads do not change its place;
    // and only a window placed before it is shown has its frame put there.
    if (visible && !m_shownBefore)
        centreOnScreenOf(this, this);
    QWidget::setVisible(visible);
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_endingWithSession) {
        event->accept();
        return;
    }
    Q_EMIT closingChanged(true);
    try {
        FormClose();
        event->accept();
    } catch (...) {
        // The dates could not be kept: stay open so that nothing is lost.
        event->ignore();
        Q_EMIT closingChanged(false);
        showErrorBox(currentErrorMessage());
    }
}

void TForm1::FormShow()
{
    m_storeUnread = true;
    DateStore::load(m_storePath, m_dates);
    m_storeUnread = false;
    UpdateDisplay(true);
}

void TForm1::FormClose()
{
    const QString keptIn = keepDates();
    if (!keptIn.isEmpty())
        showErrorBox(QStringLiteral("Cannot open file %1, so the dates entered were kept in %2")
                         .arg(m_storePath, keptIn));
}

QString TForm1::keepDates()
{
    // With no dates entered there is nothing to keep, and month.dat keeps its
    // own rows. Once it can be read, the run goes on as if it had been.
    if (m_storeUnread && m_dates.count() > 0 && DateStore::addStoredRows(m_storePath, m_dates))
        m_storeUnread = false;
    if (!m_storeUnread) {
        DateStore::save(m_storePath, m_dates);
        return {};
    }
    return m_dates.count() > 0 ? DateStore::keepBeside(m_storePath, m_dates) : QString();
}

void TForm1::saveForSessionEnd()
{
    try {
        keepDates();
        m_keptForSessionEnd = true;
    } catch (...) {
    }
}

void TForm1::endWithSession()
{
    Q_EMIT closingChanged(true);
    if (!m_keptForSessionEnd)
        saveForSessionEnd();
    m_endingWithSession = true;
}

void TForm1::UpdateDisplay(bool automatic)
{
    WindowReportSink sink(ui->memo1, ui->edtLength);
    buildReport(m_dates, automatic ? CycleMode::Automatic : CycleMode::Manual, sink);
}

TForm2& TForm1::dateDialog()
{
    if (!m_dateDialog)
        m_dateDialog = new TForm2(this);
    return *m_dateDialog;
}

void TForm1::btnAddClick()
{
    const std::optional<DayNumber> day = askForDate(dateDialog());
    if (!day)
        return;
    m_dates.add(dayText(*day));
    UpdateDisplay(true);
}

void TForm1::btnEditClick()
{
    const std::optional<int> row = selectedRow();
    if (!row)
        return;
    const std::optional<DayNumber> day = askForDate(dateDialog());
    if (!day)
        return;
    m_dates.replace(*row, dayText(*day));
    UpdateDisplay(true);
}

void TForm1::btnDeleteClick()
{
    if (const std::optional<int> row = selectedRow())
        m_dates.remove(*row);
    UpdateDisplay(true);
}

void TForm1::lbxdatesClick()
{
    ui->btnDelete->setEnabled(true);
    ui->btnEdit->setEnabled(true);
}

QString TForm1::rowDisplayText(int row) const
{
    QString text = QLatin1Char(' ') + displayDate(readNumber(m_dates.text(row)));
    if (row > 0) {
        const double gap = readNumber(m_dates.text(row)) - readNumber(m_dates.text(row - 1));
        text += QStringLiteral("   (Menstrual cycle length: ") + integerText(roundHalfEven(gap)) +
                QStringLiteral(" days)");
    }
    return text;
}

void TForm1::lbxdatesDrawItem(QPainter* painter, int index, const QRect& rect, QStyle::State state)
{
    const QPalette& palette = ui->lbxdates->palette();
    const bool selected = state & QStyle::State_Selected;
    QString text;
    try {
        text = rowDisplayText(index);
    } catch (...) {
        reportUndrawableRow(currentErrorMessage());
        return;
    }
    painter->fillRect(rect, palette.color(selected ? QPalette::Highlight : QPalette::Base));
    painter->setPen(palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(rect);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TForm1::reportUndrawableRow(const QString& message)
{
    // Painting cannot stop for a message box, so the report waits for the
    // event loop; each failure is reported once until the list changes.
    if (m_reportedRowErrors.contains(message))
        return;
    m_reportedRowErrors.insert(message);
    QTimer::singleShot(0, this, [message] { showErrorBox(message); });
}

void TForm1::btnSetLengthClick()
{
    const std::optional<QString> typed =
        inputQuery(this, QStringLiteral("Length of Cycle"),
                   QStringLiteral("Enter the average length of your cycle"), ui->edtLength->text());
    if (!typed)
        return;
    try {
        ui->edtLength->setText(integerText(readInteger(typed->toLocal8Bit())));
        UpdateDisplay(false);
    } catch (...) {
        QMessageBox warning(QMessageBox::Warning, QStringLiteral("Warning"),
                            QStringLiteral("You did not specify a valid number"), QMessageBox::Ok,
                            this);
        warning.setObjectName(QStringLiteral("warningBox"));
        warning.adjustSize();
        centreOnScreenOf(&warning, this);
        warning.exec();
    }
}

void TForm1::BitBtn2Click()
{
    close();
}

void TForm1::btnPrintClick()
{
    m_printer.print(this, ui->memo1->toPlainText(), ui->memo1->font());
}

void TForm1::btnSaveClick()
{
    const QString text = ui->memo1->toPlainText();
    m_saver.save(this, text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
}

void TForm1::BitBtn1Click()
{
    TdlgMoreHelp dialog(this);
    dialog.exec();
}

void TForm1::BitBtn3Click()
{
    TAboutBox dialog(this);
    dialog.exec();
}
