#pragma once
// The test report "s/lzm.txt": a header when a test is chosen (or the report is switched
// on), one line per chosen answer, and a result block at the end of the test. Teachers
// read it and feed it to their own tools, so its bytes are fixed: separator and label
// lines end in CR CR LF, answer lines in CR LF, and the labels are Russian in every
// interface language. Texts from the test's files keep the line end they were read with.

#include "platform/text_files.h"

#include <QString>
#include <array>

namespace tester_report {

// Five marked lines: separator, "ТЕСТ: " and the name, the time and the date, two
// separators.
QString headerBlock(const QString& testName, const QString& time, const QString& date);

// The question text, a blank, the answer, " - ", the points; ended by CR LF.
QString answerLine(const QString& question, const QString& answer, const QString& points);

struct Result {
    QString total;
    QString selected;                     // the conclusion the panel shows
    std::array<QString, 3> conclusions{}; // conclusion 1, 2, 3 (v1.txt, v3.txt, v2.txt)
    std::array<QString, 3> thresholds{};  // t1, t2, t3
};
// Eleven marked lines and an empty line.
QString resultBlock(const Result& result);

// Appends one block or line in one write (creating the "s" folder when it is missing).
// False when it could not be written (busy: another copy of the program held the report
// for the whole wait); the report is then as it was.
platform::WriteResult append(const QString& reportFile, const QString& record);

} // namespace tester_report
