#include "gui/qt_dialogs.h"

#include "gui/binder.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace gui {

void QtDialogs::showMessage(const platform::Message& message) {
    QMessageBox box(message.informationIcon ? QMessageBox::Information : QMessageBox::NoIcon,
                    message.title, message.text, QMessageBox::Ok, QApplication::activeWindow());
    ++modalDepth();
    box.exec();
    --modalDepth();
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
