#pragma once

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Saves the results box's lines to a text file chosen in the save dialog.
// The dialog is made at the first save, over that save's window, and kept for
// the run; the file name chosen last is offered again, never stored.
class ResultsSaver {
public:
    ResultsSaver();
    ~ResultsSaver();

    // Shows the save dialog over the window and, on OK, writes the lines.
    // Throws NuvaloraError with the user's message on any failure.
    void save(QWidget* window, const QStringList& lines);

    QString rememberedFileName() const { return m_fileName; }

private:
    QFileDialog* dialogFor(QWidget* window);

    QString m_fileName;
    // Held weakly: the dialog is a child of the window and goes with it.
    QPointer<QFileDialog> m_dialog;
};

// Every line followed by CR LF, in the system's 8-bit encoding.
QByteArray resultsFileContents(const QStringList& lines);
// Writes the file beside the target and replaces the target in one step, so
// a failed write leaves any earlier file at that path as it was.
void writeResultsFile(const QString& path, const QStringList& lines);
