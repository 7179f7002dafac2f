#pragma once
// The exam report as a table, the report viewer's "Таблица" tab: a row per record, the
// columns sortable (dates as dates, numbers as numbers), a filter over every column, and
// "Сохранить CSV" for spreadsheet programs. Records the journal could not read whole are
// listed under the table. The "Статистика" tab beside it (statistics_view.h) works on the
// same records.

#include "teacher_tools/journal.h"

#include <QWidget>

class QSortFilterProxyModel;
class QAbstractItemModel;
class QLineEdit;
class QLabel;
class QTableView;

namespace gui {

class JournalTable : public QWidget {
public:
    JournalTable(const QByteArray& report, const QString& language, QChar decimalSeparator,
                 QWidget* parent);

    // Writes the rows shown, filtered and in their order, as CSV (UTF-8 with its mark,
    // ';' between fields). False when the file could not be written.
    bool saveCsv(const QString& path) const;
    void setFilter(const QString& text);
    // The folder "Сохранить CSV" opens in: the application folder (the documents folder
    // when none is given).
    void setCsvFolder(const QString& folder) { csvFolder_ = folder; }
    QString csvStartPath() const;
    int shownRows() const;
    int allRows() const { return int(journal_.rows.size()); }
    QSortFilterProxyModel* rows() const { return proxy_; }
    const teacher_tools::Journal& journal() const { return journal_; }

private:
    QWidget* problemList();
    void chooseCsvFile();
    void showCount();
    void arrangeColumns(QTableView* table);

    teacher_tools::Wording say_;
    QChar separator_;
    teacher_tools::Journal journal_;
    int questions_ = 1;
    QAbstractItemModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QLabel* count_ = nullptr;
    QString csvFolder_;
};

// Tells the user that a file the viewer saves could not be written.
void tellWriteFailed(QWidget* parent, const teacher_tools::Wording& say, const QString& path);

} // namespace gui
