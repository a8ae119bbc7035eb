#pragma once
// The order of the rows of the game list. The list has always been sorted by two exchange
// passes over the rows, and people know their list by the order these give, down to equal
// titles and unknown archives:
//   1. for i < j, in loop order: if title i < title j (code units), exchange rows i and j;
//   2. for i < j, in loop order: if title j is not an unknown archive's, exchange rows i and j.
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

// Titles of archives the game list does not know start so (compared with letter case).
bool isUnknownTitle(QStringView title);

// The rows in display order: element r is the index into `titles` shown at row r.
QList<int> gameListOrder(const QStringList& titles);

} // namespace zefrin
