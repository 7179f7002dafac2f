#pragma once
// A report's text as the viewer's "Текст" tab shows it: one row per line, each line
// decoded when it is drawn. A year of reports is tens of megabytes and a million lines;
// a text editor holding them all would take seconds and gigabytes to open.

#include <QListView>

namespace gui {

class ReportTextView : public QListView {
public:
    // `bytes` as read from the file; lines split as reportText() splits them.
    ReportTextView(const QByteArray& bytes, QWidget* parent);
    int lineCount() const;
    QString line(int row) const;
};

} // namespace gui
