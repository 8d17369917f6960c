#include "resultsprinter.h"

#include "error.h"
#include "windowplacement.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QTextLayout>
#include <QWidget>

namespace {

const auto kJobName = QStringLiteral("Nuvalora Sex Plan");

// The report is printed whole: the dialog offers no page numbers, page sets
// or selection, only "Print all". Qt's dialog shows its range choices again
// each time it opens, so they are put away at every showing.
void offerAllPagesOnly(QPrintDialog* dialog)
{
    auto* group = dialog->findChild<QGroupBox*>(QStringLiteral("gbPrintRange"));
    auto* printAll = dialog->findChild<QRadioButton*>(QStringLiteral("printAll"));
    if (!group || !printAll)
        return;
    printAll->setChecked(true);
    const auto choices = group->findChildren<QWidget*>();
    for (QWidget* choice : choices) {
        if (choice != printAll)
            choice->hide();
    }
}

// Shows the print dialog on the printer; true when the user pressed Print.
// The dialog writes what the user chose into the printer only then.
bool askForPrinterSettings(QWidget* window, QPrinter* printer)
{
    QPrintDialog dialog(printer, window);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies |
                      QAbstractPrintDialog::PrintShowPageSize);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    placePlatformDialogOnShow(&dialog, window, [&dialog] { offerAllPagesOnly(&dialog); });
    return dialog.exec() == QDialog::Accepted;
}

// The page area is the whole printable area: the program adds no margin of
// its own, so the margins are the least the printer allows.
void useWholePrintableArea(QPrinter& printer)
{
    QPageLayout layout = printer.pageLayout();
    layout.setMode(QPageLayout::StandardMode);
    layout.setMargins(layout.minimumMargins());
    printer.setPageLayout(layout);
    printer.setFullPage(false);
}

// The page area measured as the printable area in 1/1440 inch, whole units
// only, and brought back to printer pixels for the layout.
QSizeF pageAreaInPixels(const QPrinter& printer)
{
    const QSize pixels = printer.pageRect(QPrinter::DevicePixel).toRect().size();
    const int dpiX = printer.logicalDpiX();
    const int dpiY = printer.logicalDpiY();
    const qint64 widthTwips = qint64(pixels.width()) * 1440 / dpiX;
    const qint64 heightTwips = qint64(pixels.height()) * 1440 / dpiY;
    return QSizeF(qreal(widthTwips) * dpiX / 1440, qreal(heightTwips) * dpiY / 1440);
}

// The results box's font may be sized in pixels as designed at 96 dots per
// inch (11 pixels for 8 points); on paper it keeps its size in points.
QFont fontForPaper(const QFont& font)
{
    if (font.pointSizeF() > 0 || font.pixelSize() <= 0)
        return font;
    QFont paper(font);
    paper.setPointSize(qRound(font.pixelSize() * 72.0 / 96.0));
    return paper;
}

[[noreturn]] void throwInvalidPrinter()
{
    throw NuvaloraError(QStringLiteral("Printer selected is not valid"));
}

} // namespace

ResultsPrinter::ResultsPrinter() = default;
ResultsPrinter::~ResultsPrinter() = default;

// The dialog works on a printer of its own, so that a Cancel, or a second
// print while a job is still being sent, leaves the current printer alone.
std::unique_ptr<QPrinter> ResultsPrinter::printerToOffer() const
{
    if (!m_printer) {
        const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
        if (defaultPrinter.isNull())
            throw NuvaloraError(QStringLiteral("There is no default printer currently selected"));
        return std::make_unique<QPrinter>(defaultPrinter, QPrinter::HighResolution);
    }
    auto offered = std::make_unique<QPrinter>(QPrinter::HighResolution);
    offered->setPrinterName(m_printer->printerName());
    offered->setPageLayout(m_printer->pageLayout());
    offered->setColorMode(m_printer->colorMode());
    offered->setDuplex(m_printer->duplex());
    offered->setPageOrder(m_printer->pageOrder());
    offered->setCopyCount(m_printer->copyCount());
    offered->setCollateCopies(m_printer->collateCopies());
    return offered;
}

void ResultsPrinter::print(QWidget* window, const QString& text, const QFont& font)
{
    std::unique_ptr<QPrinter> chosen = printerToOffer();
    if (!askForPrinterSettings(window, chosen.get()))
        return;
    if (m_printing)
        throw NuvaloraError(QStringLiteral("Printing in progress"));
    m_printer = std::move(chosen);

    // The dialog has put the copies chosen into the printer's settings; a
    // printer that cannot make copies itself cannot take more than one.
    if (m_printer->copyCount() > 1 && !m_printer->supportsMultipleCopies())
        throw NuvaloraError(QStringLiteral("Operation not supported on selected printer"));

    printJob(text, font);
}

void ResultsPrinter::printJob(const QString& text, const QFont& font)
{
    QPrinter& printer = *m_printer;
    printer.setDocName(kJobName);
    useWholePrintableArea(printer);
    if (!printer.isValid())
        throwInvalidPrinter();

    struct PrintingFlag {
        bool& flag;
        explicit PrintingFlag(bool& f) : flag(f) { flag = true; }
        ~PrintingFlag() { flag = false; }
    } printing(m_printing);

    QPainter painter;
    if (!painter.begin(&printer))
        throwInvalidPrinter();

    const QSizeF page = pageAreaInPixels(printer);
    const QFont paperFont = fontForPaper(font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    qreal top = 0; // where the next line goes on the current page
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        QTextLayout layout(line, paperFont, &printer);
        layout.setTextOption(wrapping);
        layout.beginLayout();
        for (QTextLine piece = layout.createLine(); piece.isValid(); piece = layout.createLine()) {
            piece.setLeadingIncluded(true);
            piece.setLineWidth(page.width());
        }
        layout.endLayout();

        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine piece = layout.lineAt(i);
            if (top > 0 && top + piece.height() > page.height()) {
                if (!printer.newPage())
                    throwInvalidPrinter();
                top = 0;
                // The windows stay usable while the job is being made.
                QCoreApplication::processEvents();
            }
            piece.draw(&painter, QPointF(0, top - piece.y()));
            top += piece.height();
        }
    }
    painter.end();
}
