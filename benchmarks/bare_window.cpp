// The baseline of the start-up measure: a bare Qt window with a caption and three child
// widgets, reporting like Проверон does when PROVERON_STARTUP_REPORT is set. With
// BARE_WINDOW_READS naming a file it first reads that file whole, once: the least a
// program must do with a settings file of megabytes.

#include "gui/startup_report.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QByteArray settings;
    if (const QString path = qEnvironmentVariable("BARE_WINDOW_READS"); !path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) settings = file.readAll();
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Проверон 2 в 1 v 3.5"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Ф.И.О"), &window));
    layout->addWidget(new QLineEdit(&window));
    layout->addWidget(new QPushButton(QStringLiteral("OK"), &window));
    startup_report::watchWhenAsked();
    window.show();
    return application.exec();
}
