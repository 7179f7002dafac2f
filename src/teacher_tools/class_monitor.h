#pragma once
// `proveron monitor [--watch]`: the class window's table on the console, once, or redrawn
// in place every few seconds like `top` until interrupted.

#include "teacher_tools/class_board.h"

#include <QDateTime>
#include <QString>

class QTextStream;

namespace teacher_tools {

// The counts, then the headings and one aligned row per computer, problems first.
QString classTable(const class_board::Board& board, const QString& language);

// Reads the class of the application folder and prints it; with `watch`, again every
// `intervalMs` (the screen cleared first) for as long as the program runs.
int runMonitor(const QString& applicationFolder, bool watch, const QString& language,
               QTextStream& out, int intervalMs = 3000);

} // namespace teacher_tools
