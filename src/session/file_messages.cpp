#include "session/file_messages.h"

#include "core/file_error.h"
#include "storage/recovery_journal.h"

#include <QFileInfo>

namespace fb {
namespace {

QString withReason(const QString &sentence, const QString &path, const Error &error)
{
    const auto *fileError = dynamic_cast<const FileError *>(&error);
    return sentence.arg(QFileInfo(path).fileName(),
                        fileError ? germanFileErrorReason(fileError->errorNumber())
                                  : error.message());
}

} // namespace

QString cannotOpenMessage(const QString &path, const Error &error)
{
    return withReason(QStringLiteral("Die Datei \"%1\" kann nicht geöffnet werden: %2"), path,
                      error);
}

QString cannotSaveMessage(const QString &path, const Error &error)
{
    return withReason(QStringLiteral("Die Datei \"%1\" kann nicht gespeichert werden: %2"), path,
                      error);
}

QString commandErrorMessage(const Error &error)
{
    if (const auto *journal = dynamic_cast<const JournalWriteFailed *>(&error))
        return QStringLiteral("Die Änderung ist übernommen, kann aber nicht für den Fall eines "
                              "Absturzes gesichert werden (%1). Bitte speichern Sie das "
                              "Fahrtenbuch.")
            .arg(germanFileErrorReason(journal->errorNumber()));
    return error.message();
}

} // namespace fb
