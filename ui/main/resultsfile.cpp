#include "resultsfile.h"

#include "error.h"

ResultsSaver::ResultsSaver() : m_fileName(QStringLiteral("nuvalora.txt")) {}
ResultsSaver::~ResultsSaver() = default;

void ResultsSaver::save(QWidget*, const QStringList&)
{
    throw NuvaloraError(QStringLiteral("Failed to Save Stream"));
}
