#include "platform/services.h"

namespace platform {

UserLocale::UserLocale(QLocale locale, QChar decimalSeparator, QString shortDate, QString shortTime,
                       QString longTime)
    : locale_(std::move(locale)), decimalSeparator_(decimalSeparator),
      shortDateFormat_(std::move(shortDate)), shortTimeFormat_(std::move(shortTime)),
      longTimeFormat_(std::move(longTime)) {}

UserLocale UserLocale::system() {
    QLocale locale = QLocale::system();
    QString longTime = locale.timeFormat(QLocale::LongFormat);
    // The long time is shown without a time-zone name.
    longTime.remove(QLatin1Char('t'));
    longTime = longTime.trimmed();
    QString separator = locale.decimalPoint();
    return UserLocale(locale, separator.isEmpty() ? QLatin1Char('.') : separator.at(0),
                      locale.dateFormat(QLocale::ShortFormat),
                      locale.timeFormat(QLocale::ShortFormat), longTime);
}

UserLocale UserLocale::russian() {
    return UserLocale(QLocale::c(), QLatin1Char(','), QStringLiteral("dd.MM.yyyy"),
                      QStringLiteral("H:mm"), QStringLiteral("H:mm:ss"));
}

UserLocale UserLocale::english() {
    return UserLocale(QLocale::c(), QLatin1Char('.'), QStringLiteral("M/d/yyyy"),
                      QStringLiteral("h:mm AP"), QStringLiteral("h:mm:ss AP"));
}

QString UserLocale::shortDate(const QDate& date) const {
    return locale_.toString(date, shortDateFormat_);
}
QString UserLocale::shortTime(const QTime& time) const {
    return locale_.toString(time, shortTimeFormat_);
}
QString UserLocale::longTime(const QTime& time) const {
    return locale_.toString(time, longTimeFormat_);
}

} // namespace platform
