#pragma once

#include <QFont>
#include <QString>
#include <memory>

class QPrinter;
class QWidget;

// Prints the results as one job named "Nuvalora Sex Plan". The current
// printer is the system default until the user picks another in the print
// dialog; the choice lasts for the run and is never stored.
class ResultsPrinter {
public:
    ResultsPrinter();
    ~ResultsPrinter();

    // Shows the print dialog over the window and, on OK, prints the text.
    // Throws NuvaloraError with the user's message on any failure.
    void print(QWidget* window, const QString& text, const QFont& font);

    bool isPrinting() const { return m_printing; }
    // The printer chosen in the print dialog, or null while none has been.
    const QPrinter* currentPrinter() const { return m_printer.get(); }

private:
    std::unique_ptr<QPrinter> printerToOffer() const;
    void printJob(const QString& text, const QFont& font);

    std::unique_ptr<QPrinter> m_printer;
    bool m_printing = false;
};
