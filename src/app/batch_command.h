#pragma once

#include "storage/logbook_document.h"

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

namespace fb {

// True when the arguments ask for the command line without a window: any argument that
// begins with "-" other than the window system's own options (-platform, -style, ...), so
// that --help, --version and a mistyped option are answered on the terminal.
bool isBatchInvocation(const QStringList &arguments);

// True when the batch command line prints, which needs a QGuiApplication (fonts).
bool batchNeedsGui(const QStringList &arguments);

// Runs the batch command line; arguments include the program name. Results go to out (UTF-8;
// every write is checked), messages to err. Returns the exit code: 0 on success, 1 on any
// error, 2 with a short usage text for a command line it does not understand.
int runBatch(const QStringList &arguments, QIODevice &out, QTextStream &err);
// The same with the logbook loaded into `document`, which keeps it after the call. The
// document must be new; batch runs have no screen, so give it the standard pixels per inch.
int runBatch(const QStringList &arguments, QIODevice &out, QTextStream &err,
             LogbookDocument &document);

} // namespace fb
