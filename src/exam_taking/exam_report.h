#pragma once
// The exam report "s/oth.txt": one record appended per saved exam. The record's layout is
// read by teachers and by their own tools, so it is kept byte for byte: every line ends
// in CR CR LF, and the record closes with an empty line written as CR LF CR LF.

#include "platform/text_files.h"

#include <QString>
#include <array>

struct ExamReport {
    QString language;      // "rus" or "eng" gives the date line; anything else leaves it out
    QString date;          // short date of the exam
    QString time;          // long time of the exam
    QString nameLine;      // name-panel caption, two spaces, the student's name
    QString ticketCaption; // "Билет № b3"
    std::array<QString, 20> questionLines; // empty for unanswered questions
    QString verdict;                       // may be empty
    QString data1, data2, data3;           // additional data; the line needs data 1

    // The whole record as text, line ends included.
    QString record() const;
    // Its first line, "Дата: ... Время: ..."; empty in a language that leaves it out.
    QString dateLine() const;
};

// What precedes the evaluation on question line N (1 .. 20): "Первый вопрос, оценка  " in
// Russian, "1 question, evaluation  " in English; empty for any other language.
QString questionLinePrefix(const QString& language, int n);

// Appends the record to `reportFile` in one write, creating the report's folder when it is
// missing. False when the record could not be written (busy: another copy of the program
// held the report for the whole wait); the report then holds exactly what it held before.
platform::WriteResult appendExamReport(const QString& reportFile, const ExamReport& report);
