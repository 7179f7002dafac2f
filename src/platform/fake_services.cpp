#include "platform/fake_services.h"

namespace platform {

FakeDesktop::FakeDesktop() : currentTime(QDate(2026, 1, 15), QTime(9, 0, 0)) {}

QString FakeDesktop::openFile(const QString&, const QString&, const QString&) {
    if (fileDialogAnswers.empty()) return {};
    QString answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

double FakeDesktop::next() {
    if (randomValues.empty()) return 0.0;
    double value = randomValues.front();
    randomValues.pop_front();
    return value;
}

} // namespace platform
