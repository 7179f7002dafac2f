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
class QListWidget;
class QTableView;

namespace gui {

class JournalTable : public QWidget {
public:
    JournalTable(const QByteArray& report, const QString& language, QChar decimalSeparator,
                 QWidget* parent);

    // Writes the rows shown, filtered and in their order, as CSV (UTF-8 with its mark,
    // ';' between fields). False when the file could not be written.
    bool saveCsv(const QString& path);
    void setFilter(const QString& text);
    // The folder "Сохранить CSV" opens in: the application folder (the documents folder
    // when none is given).
    void setCsvFolder(const QString& folder) { csvFolder_ = folder; }
    QString csvStartPath() const;
    // These read the report into records first, if the table was never shown.
    int shownRows();
    int allRows();
    QSortFilterProxyModel* rows();
    const teacher_tools::Journal& journal();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load();
    void fillProblemList();
    void chooseCsvFile();
    void showCount();
    void arrangeColumns(QTableView* table);

    teacher_tools::Wording say_;
    QChar separator_;
    QByteArray report_; // until it is read into records
    teacher_tools::Journal journal_;
    int questions_ = 1;
    QAbstractItemModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QLineEdit* filter_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* count_ = nullptr;
    QListWidget* problems_ = nullptr;
    QString csvFolder_;
};

// Tells the user that a file the viewer saves could not be written.
void tellWriteFailed(QWidget* parent, const teacher_tools::Wording& say, const QString& path);

} // namespace gui
