#include "CatalogueOrder.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace zefrin {

namespace {

// Counts over positions 0..size-1: add, prefix sums, and the k-th position still counted.
class CountTree {
public:
    explicit CountTree(qsizetype size)
        : tree_(static_cast<std::size_t>(size) + 1, 0)
    {
    }

    void add(qsizetype position, int amount)
    {
        for (auto i = static_cast<std::size_t>(position) + 1; i < tree_.size(); i += i & (~i + 1))
            tree_[i] += amount;
    }

    // Sum over positions 0..position.
    qsizetype countUpTo(qsizetype position) const
    {
        qsizetype sum = 0;
        for (auto i = static_cast<std::size_t>(position) + 1; i > 0; i -= i & (~i + 1))
            sum += tree_[i];
        return sum;
    }

    // The position holding the k-th count (from 0), counts being 0 or 1.
    qsizetype findKth(qsizetype k) const
    {
        std::size_t position = 0;
        std::size_t step = 1;
        while (step * 2 < tree_.size())
            step *= 2;
        for (; step > 0; step /= 2) {
            if (position + step < tree_.size() && tree_[position + step] <= k) {
                position += step;
                k -= tree_[position];
            }
        }
        return static_cast<qsizetype>(position);
    }

private:
    std::vector<qsizetype> tree_;
};

// The queue process shared by both passes. Members are numbered 0..k-1 in sequence order;
// barriersBefore[j] counts the barrier rows between member j-1 and member j (entry 0 is not
// used), barriersAfter those after the last member. Returns the members' final order.
//
// The queue is kept as a circle with a front: a turn moves the front, and the members after
// a barrier join just before the front. Only the insertion places are computed on the way;
// the circle's final layout follows from them backwards.
std::vector<qsizetype> memberOrder(const std::vector<qsizetype>& barriersBefore,
                                   qsizetype barriersAfter)
{
    const auto count = static_cast<qsizetype>(barriersBefore.size());
    if (count == 0)
        return {};
    std::vector<qsizetype> insertedAt(barriersBefore.size(), 0);
    qsizetype front = 0;
    for (qsizetype member = 1; member < count; ++member) {
        const qsizetype size = member;
        front = (front + barriersBefore[member]) % size;
        insertedAt[member] = front;
        ++front;
    }
    front = (front + barriersAfter) % count;

    CountTree free(count);
    for (qsizetype slot = 0; slot < count; ++slot)
        free.add(slot, 1);
    std::vector<qsizetype> circle(barriersBefore.size(), 0);
    for (qsizetype member = count - 1; member >= 0; --member) {
        const qsizetype slot = free.findKth(insertedAt[member]);
        circle[slot] = member;
        free.add(slot, -1);
    }
    std::vector<qsizetype> order;
    order.reserve(circle.size());
    for (qsizetype step = 0; step < count; ++step)
        order.push_back(circle[(front + step) % count]);
    return order;
}

// Rows by their titles' code units.
struct TitleLess {
    const QStringList& titles;
    bool operator()(int a, int b) const { return titles.at(a) < titles.at(b); }
};

// Pass 1: the rows in descending title order, equal titles as the exchanges leave them.
std::vector<int> descendingPass(const QStringList& titles)
{
    const auto n = static_cast<int>(titles.size());
    if (n == 0)
        return {};
    std::vector<int> ascending(titles.size());
    std::iota(ascending.begin(), ascending.end(), 0);
    std::sort(ascending.begin(), ascending.end(), TitleLess{titles});

    // Rank of each row's title; rows of one title grouped, in row order.
    std::vector<int> rank(titles.size(), 0);
    std::vector<qsizetype> groupStart{0};
    for (int k = 0; k < n; ++k) {
        if (k > 0 && titles.at(ascending[k - 1]) < titles.at(ascending[k]))
            groupStart.push_back(k);
        rank[ascending[k]] = static_cast<int>(groupStart.size()) - 1;
    }
    const auto groups = static_cast<qsizetype>(groupStart.size());
    groupStart.push_back(n);
    std::vector<qsizetype> fill(groupStart.begin(), groupStart.end() - 1);
    std::vector<int> grouped(titles.size());
    for (int row = 0; row < n; ++row)
        grouped[fill[rank[row]]++] = row;

    // Rows with a greater title before each row.
    std::vector<qsizetype> greaterBefore(titles.size());
    CountTree seen(groups);
    for (int row = 0; row < n; ++row) {
        greaterBefore[row] = row - seen.countUpTo(rank[row]);
        seen.add(rank[row], 1);
    }

    std::vector<int> result;
    result.reserve(titles.size());
    for (qsizetype group = groups - 1; group >= 0; --group) {
        const qsizetype first = groupStart[group];
        const qsizetype size = groupStart[group + 1] - first;
        std::vector<qsizetype> barriers(static_cast<std::size_t>(size), 0);
        for (qsizetype m = 1; m < size; ++m)
            barriers[m] = greaterBefore[grouped[first + m]] - greaterBefore[grouped[first + m - 1]];
        const qsizetype greaterTotal = n - groupStart[group + 1];
        const qsizetype after = greaterTotal - greaterBefore[grouped[first + size - 1]];
        for (const qsizetype member : memberOrder(barriers, after))
            result.push_back(grouped[first + member]);
    }
    return result;
}

} // namespace

QList<int> gameListOrder(const QStringList& titles, const QList<bool>& known)
{
    const std::vector<int> descending = descendingPass(titles);

    // Pass 2: known rows come out reversed; unknown rows follow, ordered by the queue process
    // with the known rows as barriers.
    QList<int> order;
    order.reserve(titles.size());
    std::vector<int> unknownRows;
    std::vector<qsizetype> barriers;
    qsizetype knownSoFar = 0;
    qsizetype knownAtLastUnknown = 0;
    for (const int row : descending) {
        if (known.at(row)) {
            ++knownSoFar;
            continue;
        }
        barriers.push_back(unknownRows.empty() ? 0 : knownSoFar - knownAtLastUnknown);
        knownAtLastUnknown = knownSoFar;
        unknownRows.push_back(row);
    }
    for (auto row = descending.rbegin(); row != descending.rend(); ++row) {
        if (known.at(*row))
            order.append(*row);
    }
    for (const qsizetype member : memberOrder(barriers, knownSoFar - knownAtLastUnknown))
        order.append(unknownRows[member]);
    return order;
}

} // namespace zefrin
