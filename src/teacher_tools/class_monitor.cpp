#include "teacher_tools/class_monitor.h"

#include "teacher_tools/statistics.h"

#include <QTextStream>
#include <QThread>

namespace teacher_tools {

QString classTable(const class_board::Board& board, const QString& language) {
    QString text = class_board::Board::summary(board.counts(), language) + QLatin1Char('\n');
    if (board.rows().empty()) return text;
    std::vector<QStringList> lines{class_board::Board::headings(language)};
    for (const class_board::Row& row : board.rows()) {
        lines.push_back(class_board::Board::cells(row, language).inOrder());
    }
    text += alignedText(lines);
    return text;
}

int runMonitor(const QString& applicationFolder, bool watch, const QString& language,
               QTextStream& out, int intervalMs) {
    class_board::Board board(applicationFolder);
    for (;;) {
        board.refresh(QDateTime::currentDateTime());
        // Cursor home and the screen cleared: the table is redrawn in place.
        if (watch) out << "\x1b[H\x1b[2J";
        out << classTable(board, language);
        out.flush();
        if (!watch) return 0;
        QThread::msleep(unsigned(intervalMs));
    }
}

} // namespace teacher_tools
