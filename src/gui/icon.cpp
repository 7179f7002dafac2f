#include "gui/icon.h"

#include <QPainter>
#include <QPainterPath>

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

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(emblem(size));
    return icon;
}

} // namespace gui
