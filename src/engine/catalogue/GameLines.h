#pragma once
// What the ROM manager takes from the lines of the emulator's game list lista.txt:
//   columns 1 to 10   the set name filled with blanks: the game's archive is it + ".zip"
//   column 11         an opening double quote
//   columns 12 to L-1 the title; column L closes it
// The first line is the list's heading and is no game.

#include <QLocale>
#include <QString>
#include <QStringList>

namespace zefrin {

// The lines after the heading.
QStringList gameLinesOf(const QStringList& listLines);

// The archive name a game line asks for: its first 10 characters trimmed, plus ".zip"; empty
// when the line names no set at all.
QString candidateArchiveName(QStringView gameLine);

// The title of a game line as a found game is announced: trimmed at both ends.
QString gameLineTitle(QStringView gameLine);

// The titles of the ROM manager's game list: of every game line of 12 characters or more, the
// text between the quotes (a line of exactly 12 gives an empty title), in the alphabetical
// order of `locale` without regard to letter case, as a sorted list box keeps them (accented
// letters beside their plain ones), then by character codes, so the order never depends on
// the file order.
QStringList managerTitles(const QStringList& gameLines, const QLocale& locale = QLocale());

// The progress bar's figures for check number `counter` of a list of `entries` titles. The
// list and the file may disagree (more game lines than titles, no titles at all): the value
// then stays within the range instead of leaving it.
struct ProgressFigures {
    int minimum = 1;
    int maximum = 1;
    int value = 1;
};
ProgressFigures progressFigures(int counter, int entries);

} // namespace zefrin
