#include "gui/icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace gui {

QPixmap emblem(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(size * 0.08, size * 0.18, size * 0.84, size * 0.64);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), size * 0.05));
    painter.setBrush(QColor(0xff, 0xff, 0xff));
    painter.drawRoundedRect(card, size * 0.08, size * 0.08);
    QPainterPath tick;
    tick.moveTo(size * 0.30, size * 0.50);
    tick.lineTo(size * 0.45, size * 0.64);
    tick.lineTo(size * 0.72, size * 0.34);
    painter.setPen(
        QPen(QColor(0x2e, 0x8b, 0x3a), size * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    return pixmap;
}

namespace {
// Draws the emblem at whatever size is asked for, when it is asked for: nothing is
// painted at start-up that no title bar shows.
class EmblemEngine : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override {
        painter->drawPixmap(rect, pixmap(rect.size(), QIcon::Normal, QIcon::Off));
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override {
        return emblem(std::max(1, std::min(size.width(), size.height())));
    }
    QIconEngine* clone() const override { return new EmblemEngine; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        // What title bars, task bars and switchers ask for; each is drawn when asked.
        return {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    }
};
} // namespace

QIcon applicationIcon() { return QIcon(new EmblemEngine); }

} // namespace gui
