#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace fb {

// What the program last wrote into each logbook file's entry log, remembered on this machine in
// a folder of the user's own: the chain's last value. A file whose log does not go on from that
// value, or whose log has gone, was changed outside the program, even where its own seal
// matches (a log rewritten with this program's algorithm elsewhere, an older copy put back).
// One small file per logbook, named by the logbook's path; nothing is remembered for a logbook
// without a log.

// The remembered chain value of the logbook at path; nothing when none is remembered.
std::optional<QByteArray> recallChainValue(const QString &folder, const QString &logbookPath);

// Remembers the chain value just written into the logbook at path, or forgets the logbook when
// the value is empty (it was written without a log). Best effort: a folder that cannot be
// written loses only this protection, never the logbook.
void rememberChainValue(const QString &folder, const QString &logbookPath,
                        const QByteArray &chainValue);

} // namespace fb
