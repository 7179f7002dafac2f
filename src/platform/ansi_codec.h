#pragma once
// Windows-1251, the ANSI code page of the machines this program's files come from.
// This is the only place that turns text into bytes for files and back.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace platform {

// Every character Windows-1251 cannot hold becomes '?', never dropped.
QByteArray toAnsi(const QString& text);

// Every byte maps to a character (the one undefined byte 0x98 maps to U+FFFD),
// so a file that is not valid Windows-1251 still reads.
QString fromAnsi(QByteArrayView bytes);

} // namespace platform
