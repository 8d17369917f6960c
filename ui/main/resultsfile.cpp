#include "resultsfile.h"

#include "error.h"
#include "windowplacement.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>

ResultsSaver::ResultsSaver() : m_fileName(QStringLiteral("nuvalora.txt")) {}

ResultsSaver::~ResultsSaver()
{
    delete m_dialog.data();
}

QFileDialog* ResultsSaver::dialogFor(QWidget* window)
{
    if (!m_dialog) {
        m_dialog = new QFileDialog(window);
        m_dialog->setObjectName(QStringLiteral("SaveDialog1"));
        m_dialog->setAcceptMode(QFileDialog::AcceptSave);
        m_dialog->setFileMode(QFileDialog::AnyFile);
        m_dialog->setNameFilter(QStringLiteral("Text File (*.txt)"));
        // The name is used exactly as chosen, and an existing file is
        // replaced without a question.
        m_dialog->setDefaultSuffix(QString());
        m_dialog->setOption(QFileDialog::DontConfirmOverwrite);
        m_dialog->setSizeGripEnabled(true);
        placePlatformDialogOnShow(m_dialog, window);
    }
    return m_dialog;
}

void ResultsSaver::save(QWidget* window, const QStringList& lines)
{
    QFileDialog* dialog = dialogFor(window);
    // Offer the name chosen last, in its own folder; before the first save
    // the folder is the dialog's own choice.
    const QFileInfo remembered(m_fileName);
    if (remembered.isAbsolute())
        dialog->setDirectory(remembered.absolutePath());
    dialog->selectFile(remembered.fileName());
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dialog->selectedFiles();
    if (chosen.isEmpty())
        return;
    m_fileName = chosen.first();
    writeResultsFile(m_fileName, lines);
}

QByteArray resultsFileContents(const QStringList& lines)
{
    QByteArray contents;
    for (const QString& line : lines) {
        contents += line.toLocal8Bit();
        contents += "\r\n";
    }
    return contents;
}

void writeResultsFile(const QString& path, const QStringList& lines)
{
    const QByteArray contents = resultsFileContents(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw NuvaloraError(QStringLiteral("Cannot create file %1").arg(path));
    // The explicit flush matters: a short file is only buffered by write(),
    // and commit() does not notice when writing the buffer out falls short.
    if (file.write(contents) != contents.size() || !file.flush() || !file.commit())
        throw NuvaloraError(QStringLiteral("Failed to Save Stream"));
}
