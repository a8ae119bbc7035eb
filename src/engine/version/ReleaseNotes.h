#pragma once
// What the information windows tell: the program's version, its web links and its release
// notes.

#include <QString>
#include <QUrl>

namespace zefrin {

QString programVersion(); // "0.21a"

// The emulator's official page, and a Spanish page with many ROMs; the captions are their
// host names.
QUrl officialPageUrl();
QUrl romsPageUrl();

// The release notes: a heading, two paragraphs on what the program is for, then one section
// per release, newest first, each a list of "- " lines. Lines end with CR LF.
QString releaseNotes();

} // namespace zefrin
