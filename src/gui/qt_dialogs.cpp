#include "gui/qt_dialogs.h"

#include "gui/binder.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QSpacerItem>
#include <QStyle>
#include <algorithm>

namespace gui {

void showMessageBox(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::Icon icon) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    // A message box sizes itself to its text alone; a short text then cuts the title. The
    // title bar needs the title, its buttons and some air.
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int titleWidth = metrics.horizontalAdvance(title) + 160;
    const int width = std::max(titleWidth, 320);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    ++modalDepth();
    box.exec();
    --modalDepth();
}

void QtDialogs::showMessage(const platform::Message& message) {
    showMessageBox(QApplication::activeWindow(), message.title, message.text,
                   message.informationIcon ? QMessageBox::Information : QMessageBox::NoIcon);
}

QString QtDialogs::openFile(const QString& title, const QString& filter,
                            const QString& startFolder) {
    ++modalDepth();
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), title, startFolder, filter);
    --modalDepth();
    return chosen;
}

} // namespace gui
