// Every message and tool tip pair of the program, side by side in one review sheet
// (docs/texts.md) that is kept current, and checked for what a translation gets wrong.

#include "common/file_messages_texts.h"
#include "exam_content/folder_chooser_texts.h"
#include "exam_content/ticket_editor_texts.h"
#include "exam_taking/results_window_texts.h"
#include "exam_taking/ticket_window_texts.h"
#include "gui/journal_view_texts.h"
#include "gui/qt_shell_texts.h"
#include "gui/statistics_view_texts.h"
#include "gui/view_texts.h"
#include "settings/settings_window_texts.h"
#include "shell/start_window_texts.h"
#include "teacher_tools/aiken_texts.h"
#include "teacher_tools/answer_match_texts.h"
#include "teacher_tools/bank_export_texts.h"
#include "teacher_tools/bank_import_texts.h"
#include "teacher_tools/class_board_texts.h"
#include "teacher_tools/command_line_texts.h"
#include "teacher_tools/exam_check_texts.h"
#include "teacher_tools/findings_texts.h"
#include "teacher_tools/findings_window_texts.h"
#include "teacher_tools/folder_check_texts.h"
#include "teacher_tools/gift_texts.h"
#include "teacher_tools/journal_texts.h"
#include "teacher_tools/lab_check_texts.h"
#include "teacher_tools/moodle_xml_texts.h"
#include "teacher_tools/questionnaire_check_texts.h"
#include "teacher_tools/statistics_texts.h"
#include "tester/tester_window_texts.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <span>

namespace {

struct Table {
    const char* title;
    const char* header;
    std::span<const texts::Text> rows;
};

const Table kTables[] = {
    {"Notes about files that could not be written", "src/common/file_messages_texts.h",
     file_messages_texts::kTexts},
    {"Folder chooser (Form9)", "src/exam_content/folder_chooser_texts.h",
     folder_chooser_texts::kTexts},
    {"Ticket editor (Form7)", "src/exam_content/ticket_editor_texts.h",
     ticket_editor_texts::kTexts},
    {"Results window (Form5)", "src/exam_taking/results_window_texts.h",
     results_window_texts::kTexts},
    {"Ticket window (Form2)", "src/exam_taking/ticket_window_texts.h", ticket_window_texts::kTexts},
    {"Journal view", "src/gui/journal_view_texts.h", journal_view_texts::kTexts},
    {"Report viewer and desktop services", "src/gui/qt_shell_texts.h", qt_shell_texts::kTexts},
    {"Statistics view", "src/gui/statistics_view_texts.h", statistics_view_texts::kTexts},
    {"Every window", "src/gui/view_texts.h", view_texts::kTexts},
    {"Settings window (Form4)", "src/settings/settings_window_texts.h",
     settings_window_texts::kTexts},
    {"Start window (Form1)", "src/shell/start_window_texts.h", start_window_texts::kTexts},
    {"Import: Aiken", "src/teacher_tools/aiken_texts.h", aiken_texts::kTexts},
    {"Answer and variant comparison", "src/teacher_tools/answer_match_texts.h",
     answer_match_texts::kTexts},
    {"Export", "src/teacher_tools/bank_export_texts.h", bank_export_texts::kTexts},
    {"Import", "src/teacher_tools/bank_import_texts.h", bank_import_texts::kTexts},
    {"Class window (Form11) and monitor", "src/teacher_tools/class_board_texts.h",
     class_board_texts::kTexts},
    {"Command line", "src/teacher_tools/command_line_texts.h", command_line_texts::kTexts},
    {"Check: exams", "src/teacher_tools/exam_check_texts.h", exam_check_texts::kTexts},
    {"Check: file encodings", "src/teacher_tools/findings_texts.h", findings_texts::kTexts},
    {"Findings window (Form10)", "src/teacher_tools/findings_window_texts.h",
     findings_window_texts::kTexts},
    {"Check: folders", "src/teacher_tools/folder_check_texts.h", folder_check_texts::kTexts},
    {"Import: GIFT", "src/teacher_tools/gift_texts.h", gift_texts::kTexts},
    {"Journal", "src/teacher_tools/journal_texts.h", journal_texts::kTexts},
    {"Lab check and password", "src/teacher_tools/lab_check_texts.h", lab_check_texts::kTexts},
    {"Import: Moodle XML", "src/teacher_tools/moodle_xml_texts.h", moodle_xml_texts::kTexts},
    {"Check: tests", "src/teacher_tools/questionnaire_check_texts.h",
     questionnaire_check_texts::kTexts},
    {"Statistics", "src/teacher_tools/statistics_texts.h", statistics_texts::kTexts},
    {"Test window and test editor (Form6)", "src/tester/tester_window_texts.h",
     tester_window_texts::kTexts},
};

const QString kSource = QStringLiteral(PROVERON_SOURCE_DIR);

// A cell of a Markdown table: line ends shown as a backslash and n, bars escaped.
QString cell(const char* text) {
    QString shown = QString::fromUtf8(text);
    shown.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    shown.replace(QLatin1Char('|'), QStringLiteral("\\|"));
    return shown;
}

QString sheet() {
    QString out = QStringLiteral(
        "# Texts for review\n\n"
        "Every message and tool tip in Russian and English, as the program keeps them (one "
        "table per window or tool). Made by the unit test `Texts.TheReviewSheetIsCurrent`; "
        "to remake it after changing a table, run that test with `PROVERON_WRITE_TEXTS=1`. "
        "Captions are in each window's caption table. \"\\n\" is a line end.\n");
    for (const Table& table : kTables) {
        out += QStringLiteral("\n## %1\n\n`%2`\n\n| key | Русский | English |\n|---|---|---|\n")
                   .arg(QString::fromUtf8(table.title), QString::fromUtf8(table.header));
        for (const texts::Text& row : table.rows) {
            out += QStringLiteral("| %1 | %2 | %3 |\n")
                       .arg(QString::fromUtf8(row.key), cell(row.russian), cell(row.english));
        }
    }
    return out;
}

QSet<QString> placeholders(const char* text) {
    QSet<QString> found;
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    for (const auto& match : placeholder.globalMatch(QString::fromUtf8(text)))
        found.insert(match.captured());
    return found;
}

} // namespace

TEST(Texts, EveryPairHasBothSidesTheSamePlaceholdersAndAKeyOfItsOwn) {
    static const QRegularExpression cyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
    static const QRegularExpression quoted(QStringLiteral("\"[^\"]*\""));
    for (const Table& table : kTables) {
        QSet<QString> keys;
        for (const texts::Text& row : table.rows) {
            const QString where =
                QString::fromUtf8(table.header) + QLatin1Char(' ') + QString::fromUtf8(row.key);
            EXPECT_FALSE(keys.contains(QString::fromUtf8(row.key))) << where.toStdString();
            keys.insert(QString::fromUtf8(row.key));
            EXPECT_FALSE(QString::fromUtf8(row.russian).trimmed().isEmpty()) << where.toStdString();
            EXPECT_FALSE(QString::fromUtf8(row.english).trimmed().isEmpty()) << where.toStdString();
            // A placeholder missing from one side leaves a "%1" on the screen or drops a value.
            EXPECT_EQ(placeholders(row.russian), placeholders(row.english)) << where.toStdString();
            // An English text with Russian letters in it was never translated; a quoted
            // word of a file ("ТЕСТ:") is what the file holds.
            QString unquoted = QString::fromUtf8(row.english);
            unquoted.remove(quoted);
            EXPECT_FALSE(unquoted.contains(cyrillic)) << where.toStdString();
        }
    }
}

TEST(Texts, EveryTableIsOnTheSheet) {
    QSet<QString> listed;
    for (const Table& table : kTables)
        listed.insert(QString::fromUtf8(table.header));
    QDirIterator files(kSource + QStringLiteral("/src"), {QStringLiteral("*_texts.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString header = QDir(kSource).relativeFilePath(files.next());
        EXPECT_TRUE(listed.contains(header)) << header.toStdString() << " is not on the sheet";
    }
}

TEST(Texts, TheReviewSheetIsCurrent) {
    QFile file(kSource + QStringLiteral("/docs/texts.md"));
    const QByteArray made = sheet().toUtf8();
    if (qEnvironmentVariableIsSet("PROVERON_WRITE_TEXTS")) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(made), made.size());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "docs/texts.md is missing";
    EXPECT_TRUE(file.readAll() == made)
        << "docs/texts.md is out of date: run this test with PROVERON_WRITE_TEXTS=1";
}
