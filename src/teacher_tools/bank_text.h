#pragma once
// What the bank readers share about text: line ends of every kind, HTML taken down to the
// plain text a ticket shows, the pictures a text refers to. Banks come from anywhere, so
// each of these takes time linear in its input, whatever the input holds.

#include <QString>
#include <QStringList>

namespace teacher_tools {

// The lines of a text whose lines end in CR LF, LF or CR alone (old Mac files), mixed.
QStringList splitLines(const QString& text);

// HTML's named (all of HTML5's) and numeric character references decoded; anything else
// left as it is, "&" included.
QString decodeEntities(const QString& text);

// Tags removed, <br> and the ends of paragraphs, divisions, list items and table rows
// made line ends, character references decoded. A "<" that starts no tag stays.
QString withoutHtml(const QString& text);

// The picture files a text refers to (<img src="...">, ![...](...)), taken out of the
// text: each the file's name, percent-decoded, without "@@PLUGINFILE@@/" or any folder.
QStringList takePictures(QString& text);

// Blanks in each line made single, blank lines dropped, the lines joined by CR LF.
QString tidyLines(const QString& text);

} // namespace teacher_tools
