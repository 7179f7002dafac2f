#include "forms/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace forms {

QString colorText(Color color) {
    return QStringLiteral("0x%1")
        .arg(color, 8, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}

QColor toQColor(Color color) {
    if (isSystemColor(color)) {
        QPalette palette = QGuiApplication::instance() ? QGuiApplication::palette() : QPalette();
        switch (color & 0xFFu) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 15:
            return palette.color(QPalette::Button);
        case 18:
            return palette.color(QPalette::ButtonText);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace forms
