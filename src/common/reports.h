#pragma once
// The two plain-text reports of the "s" folder (the exam report "oth.txt" and the test
// report "lzm.txt") are appended to through this one routine.

#include "platform/text_files.h"

#include <QString>

// Appends `record` (exactly as given, in Windows-1251) to the report in one write,
// creating the report's folder when it is missing. The computers of a lab may share the
// report: each append takes the report's lock file, so records never mix, and a record
// reported written is on the disk. When it could not be written (Busy: another copy held
// the report for the whole wait), the report holds exactly what it held before.
platform::WriteResult appendReport(const QString& reportFile, const QString& record);
