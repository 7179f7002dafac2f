#pragma once
// The two plain-text reports of the "s" folder (the exam report "oth.txt" and the test
// report "lzm.txt") are appended to through this one routine.

#include <QString>

// Appends `record` (exactly as given, in Windows-1251) to the report in one write,
// creating the report's folder when it is missing. False when the record could not be
// written; the report then holds exactly what it held before.
bool appendReport(const QString& reportFile, const QString& record);
