#pragma once

#include "model/logbook_document.h"

#include <QStringList>
#include <QTextStream>

namespace fb {

// True when the arguments ask for the command line without a window (--dump-json,
// --resave, --export-xls, --evaluate, --print-pdf, --help).
bool isBatchInvocation(const QStringList &arguments);

// True when the batch command line prints, which needs a QGuiApplication (fonts).
bool batchNeedsGui(const QStringList &arguments);

// Runs the batch command line; arguments include the program name. Results go to out,
// messages to err. Returns the exit code: 0 on success, 1 on any error.
int runBatch(const QStringList &arguments, QTextStream &out, QTextStream &err);
// The same with the logbook loaded into `document`, which keeps it after the call. The
// document must be new; batch runs have no screen, so give it the standard pixels per inch.
int runBatch(const QStringList &arguments, QTextStream &out, QTextStream &err,
             LogbookDocument &document);

} // namespace fb
