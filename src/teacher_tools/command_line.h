#pragma once
// The teacher's tools on the command line, run by the program instead of its windows when
// its first argument names one:
//
//   proveron check [--json] [--convert] [--folder APP] [FOLDER]
//   proveron import aiken|gift|xml FILE --exam NAME [--per-ticket N] [--shuffle SEED]
//                                                  [--folder APP]
//   proveron import gift|xml FILE --test NAME [--folder APP]
//   proveron export gift|xml FOLDER [FILE]
//   proveron journal [--csv FILE] [--from DATE] [--to DATE] [--folder APP]
//   proveron stats [--from DATE] [--to DATE] [--group TEXT] [--csv FILE] [--json] [--folder APP]
//   proveron lab check|password [--folder APP]
//
// APP is the application folder (the program's own folder unless given). Exit status: 0
// done and clean, 1 findings (or skipped questions, or a file that could not be read or
// written), 2 a usage error or an import that was refused.

#include <QString>
#include <QStringList>

class QTextStream;

namespace teacher_tools {

// True when the first argument is one of the commands: check, import, export, journal,
// stats, lab.
bool isCommand(int argc, char** argv);

// Runs the command with a core application of its own (no windows) and answers the
// program's exit status.
int runCommand(int argc, char** argv);

// The command given its arguments (the command's name first), the application folder to
// use when --folder is not given, and where to write its output and its messages.
int runArguments(const QStringList& arguments, const QString& applicationFolder, QTextStream& out,
                 QTextStream& err);

} // namespace teacher_tools
