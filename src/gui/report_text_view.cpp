#include "gui/report_text_view.h"

#include "platform/ansi_codec.h"

#include <QAbstractListModel>
#include <QAction>
#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

namespace gui {

namespace {

// The lines of the report's bytes, found once by their offsets and decoded when asked for.
class ReportLines : public QAbstractListModel {
public:
    ReportLines(const QByteArray& bytes, QObject* parent)
        : QAbstractListModel(parent), bytes_(bytes) {
        split();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(starts_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        if (role == Qt::SizeHintRole) return size_;
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
        return line(index.row());
    }
    QString line(int row) const {
        const std::size_t at = std::size_t(row);
        return platform::fromAnsi(QByteArrayView(bytes_.constData() + starts_[at], lengths_[at]));
    }
    // Every row the size of the longest line in a font of fixed width: the list measures
    // no line.
    void setFontMetrics(const QFontMetrics& metrics) {
        size_ =
            QSize(metrics.horizontalAdvance(QLatin1Char('M')) * longest_ + 8, metrics.height() + 1);
    }

private:
    // As reportText(): "\r\r\n" and "\r\n" end one line, "\r\r\r\n" one, each CR more before
    // a LF one more, a CR alone one.
    void split() {
        const char* const begin = bytes_.constData();
        const qsizetype size = bytes_.size();
        qsizetype start = 0;
        for (qsizetype i = 0; i < size;) {
            const char c = begin[i];
            if (c != '\n' && c != '\r') {
                ++i;
                continue;
            }
            qsizetype after = i;
            while (after < size && begin[after] == '\r')
                ++after;
            qsizetype ends = after - i;
            if (after < size && begin[after] == '\n') {
                ends = ends >= 3 ? ends - 2 : 1;
                ++after;
            }
            add(start, i - start);
            for (; ends > 1; --ends)
                add(after, 0);
            start = i = after;
        }
        if (start < size) add(start, size - start);
    }
    void add(qsizetype start, qsizetype length) {
        starts_.push_back(start);
        lengths_.push_back(int(length));
        longest_ = std::max(longest_, int(length));
    }

    QByteArray bytes_;
    std::vector<qsizetype> starts_;
    std::vector<int> lengths_;
    int longest_ = 0;
    QSize size_;
};

} // namespace

ReportTextView::ReportTextView(const QByteArray& bytes, QWidget* parent) : QListView(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* lines = new ReportLines(bytes, this);
    lines->setFontMetrics(fontMetrics());
    setUniformItemSizes(true);
    setModel(lines);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTextElideMode(Qt::ElideNone);
    // The lines chosen copy as text, as from an editor.
    auto* copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, [this] {
        QModelIndexList chosen = selectionModel()->selectedRows();
        std::sort(chosen.begin(), chosen.end());
        QStringList text;
        for (const QModelIndex& index : chosen)
            text.append(line(index.row()));
        QGuiApplication::clipboard()->setText(text.join(QLatin1Char('\n')));
    });
}

int ReportTextView::lineCount() const { return model()->rowCount(); }

QString ReportTextView::line(int row) const {
    return static_cast<const ReportLines*>(model())->line(row);
}

} // namespace gui
