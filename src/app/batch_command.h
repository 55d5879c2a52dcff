#pragma once

#include <QStringList>
#include <QTextStream>

namespace fb {

// True when the arguments ask for the command line without a window (--dump-json,
// --resave, --export-xls, --help).
bool isBatchInvocation(const QStringList &arguments);

// Runs the batch command line; arguments include the program name. Results go to out,
// messages to err. Returns the exit code: 0 on success, 1 on any error.
int runBatch(const QStringList &arguments, QTextStream &out, QTextStream &err);

} // namespace fb
