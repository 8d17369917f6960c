#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class QFileDialog;
class QWidget;

// Saves the results box's lines to a text file chosen in the save dialog.
class ResultsSaver {
public:
    ResultsSaver();
    ~ResultsSaver();

    // Shows the save dialog over the window and, on OK, writes the lines.
    // Throws NuvaloraError with the user's message on any failure.
    void save(QWidget* window, const QStringList& lines);

    QString rememberedFileName() const { return m_fileName; }

private:
    QString m_fileName;
};

// Every line followed by CR LF, in the system's 8-bit encoding.
QByteArray resultsFileContents(const QStringList& lines);
// Writes the file beside the target and replaces the target in one step.
void writeResultsFile(const QString& path, const QStringList& lines);
