#pragma once
// The order of the rows of the game list. The list has always been sorted by two exchange
// passes over the rows, and people know their list by the order these give, down to equal
// titles and unknown archives:
//   1. for i < j, in loop order: if title i < title j (code units), exchange rows i and j;
//   2. for i < j, in loop order: if title j is not an unknown archive's, exchange rows i and j.
// The passes tested an unknown archive's row by its title's prefix, "ROM desconocida("; here
// each row says whether its archive is known, which is the same for every list the emulator
// writes (no game of it is titled so).
// The result is the known titles ascending, then the unknown archives. The passes cost
// quadratic time; gameListOrder gives the same permutation in O(n log n):
//
// Pass 1 restricted to the rows with a title >= v is pass 1 run on those rows alone (the rows
// below v never come between them as records). So the rows of title v behave as the smallest
// rows of that subsequence: one of them moves only while it heads what is left, and then it
// takes the place of the first greater row after it. Pass 2 moves unknown rows past known rows
// by the same rule. In both cases the members (equal rows, unknown rows) end in the order of a
// queue that, per barrier row (greater, known), turns once (front to back) and then takes the
// members that follow that barrier; the number of barriers between consecutive members is all
// that matters, and a circle with an order-statistics tree replays the turns without moving
// anything.

#include <QList>
#include <QStringList>

namespace zefrin {

// The rows in display order: element r is the index into `titles` shown at row r. `known[i]`
// tells whether the game list knows row i's archive.
QList<int> gameListOrder(const QStringList& titles, const QList<bool>& known);

} // namespace zefrin
