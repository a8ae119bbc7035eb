// The game list's row order: the known examples, and the fast order against the two exchange
// passes run literally on many random lists with repeated titles and unknown archives.

#include "catalogue/CatalogueOrder.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace zefrin;

namespace {

QString unknown(const QString& archive)
{
    return QStringLiteral("ROM desconocida(") + archive + QLatin1Char(')');
}

void swapRows(QStringList& titles, QList<int>& rows, qsizetype i, qsizetype j)
{
    titles.swapItemsAt(i, j);
    rows.swapItemsAt(i, j);
}

// The two passes exactly as the list has always been sorted, rows swapped in both lists.
QList<int> literalOrder(QStringList titles)
{
    QList<int> rows;
    for (int r = 0; r < titles.size(); ++r)
        rows << r;
    const qsizetype n = titles.size();
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j < n; ++j) {
            if (titles.at(i) < titles.at(j))
                swapRows(titles, rows, i, j);
        }
    }
    for (qsizetype i = 0; i < n; ++i) {
        for (qsizetype j = i + 1; j < n; ++j) {
            if (titles.at(j).left(16) != QLatin1String("ROM desconocida("))
                swapRows(titles, rows, i, j);
        }
    }
    return rows;
}

// A title drawn from a small alphabet so that titles repeat, or an unknown archive's title,
// or one of the awkward neighbours of that prefix.
QString randomTitle(QRandomGenerator& random, int alphabetSize, int maximumLength)
{
    static const QStringList awkward{QStringLiteral("ROM desconocida"),
                                     QStringLiteral("ROM desconocida("),
                                     QStringLiteral("ROM Desconocida(a.zip)"),
                                     QStringLiteral("ROM e"),
                                     QStringLiteral("Z"),
                                     QStringLiteral("zz"),
                                     QString()};
    const int kind = random.bounded(10);
    if (kind < 3)
        return unknown(QString(QChar(u'a' + random.bounded(alphabetSize))) +
                       QStringLiteral(".zip"));
    if (kind == 3)
        return awkward.at(random.bounded(awkward.size()));
    const QString letters = QStringLiteral("aAbB1 éz").left(alphabetSize);
    QString title;
    const int length = random.bounded(maximumLength + 1);
    for (int k = 0; k < length; ++k)
        title += letters.at(random.bounded(letters.size()));
    return title;
}

} // namespace

class CatalogueOrderTest : public QObject {
    Q_OBJECT

private slots:
    void examples_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("order");
        QTest::newRow("empty") << QStringList() << QList<int>();
        QTest::newRow("one") << QStringList{"Solo"} << QList<int>{0};
        QTest::newRow("capitals before small letters")
            << QStringList{"alpha", "Beta"} << QList<int>{1, 0};
        QTest::newRow("digits before capitals")
            << QStringList{"b", "B", "1"} << QList<int>{2, 1, 0};
        QTest::newRow("proper prefix is smaller")
            << QStringList{"Pac-Man", "Pac"} << QList<int>{1, 0};
        QTest::newRow("only unknown archives: descending")
            << QStringList{unknown("a.zip"), unknown("b.zip"), unknown("c.zip")}
            << QList<int>{2, 1, 0};
        QTest::newRow("known ascending, unknown after")
            << QStringList{"Delta", unknown("b.zip"), "Alpha", unknown("d.zip"), "Charlie", "Bravo"}
            << QList<int>{2, 5, 4, 0, 3, 1};
        QTest::newRow("unknown rows turned by one known row")
            << QStringList{unknown("a.zip"), "Alpha", unknown("c.zip"), unknown("d.zip")}
            << QList<int>{1, 2, 0, 3};
        QTest::newRow("equal titles")
            << QStringList{"Same", "Other", "Same"} << QList<int>{1, 2, 0};
        QTest::newRow("titles above the unknown prefix")
            << QStringList{"zeta", unknown("a.zip"), "Alpha", "Zulu"} << QList<int>{2, 3, 0, 1};
    }

    void examples()
    {
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, order);
        QCOMPARE(gameListOrder(titles), order);
        QCOMPARE(literalOrder(titles), order);
    }

    void unknownTitlesAreRecognisedByTheirPrefixOnly_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("isUnknown");
        QTest::newRow("archive") << unknown("a.zip") << true;
        QTest::newRow("prefix alone") << "ROM desconocida(" << true;
        QTest::newRow("no parenthesis") << "ROM desconocida" << false;
        QTest::newRow("other case") << "rom desconocida(a.zip)" << false;
        QTest::newRow("empty") << "" << false;
    }

    void unknownTitlesAreRecognisedByTheirPrefixOnly()
    {
        QFETCH(QString, title);
        QFETCH(bool, isUnknown);
        QCOMPARE(isUnknownTitle(title), isUnknown);
    }

    void matchesTheLiteralPassesOnRandomLists_data()
    {
        QTest::addColumn<int>("lists");
        QTest::addColumn<int>("maximumRows");
        QTest::addColumn<int>("alphabetSize");
        QTest::addColumn<int>("maximumLength");
        QTest::newRow("tiny lists, two letters") << 4000 << 9 << 2 << 2;
        QTest::newRow("small lists, many repeats") << 2000 << 40 << 3 << 2;
        QTest::newRow("medium lists, varied titles") << 300 << 200 << 8 << 4;
        QTest::newRow("long lists, few titles") << 6 << 1500 << 2 << 3;
    }

    void matchesTheLiteralPassesOnRandomLists()
    {
        QFETCH(int, lists);
        QFETCH(int, maximumRows);
        QFETCH(int, alphabetSize);
        QFETCH(int, maximumLength);
        QRandomGenerator random(20240611u + static_cast<quint32>(maximumRows));
        for (int list = 0; list < lists; ++list) {
            QStringList titles;
            const int rows = random.bounded(maximumRows + 1);
            for (int r = 0; r < rows; ++r)
                titles << randomTitle(random, alphabetSize, maximumLength);
            const QList<int> expected = literalOrder(titles);
            const QList<int> actual = gameListOrder(titles);
            if (actual != expected)
                qWarning() << "titles:" << titles;
            QCOMPARE(actual, expected);
        }
    }

    void everyRowAppearsOnceInLargeLists()
    {
        QRandomGenerator random(7u);
        QStringList titles;
        for (int r = 0; r < 50000; ++r)
            titles << randomTitle(random, 8, 6);
        const QList<int> order = gameListOrder(titles);
        QCOMPARE(order.size(), titles.size());
        QList<bool> seen(titles.size(), false);
        for (const int row : order) {
            QVERIFY(row >= 0 && row < titles.size());
            QVERIFY(!seen.at(row));
            seen[row] = true;
        }
        // Known titles ascending, then the unknown archives.
        qsizetype firstUnknown = 0;
        while (firstUnknown < order.size() && !isUnknownTitle(titles.at(order.at(firstUnknown))))
            ++firstUnknown;
        for (qsizetype r = 1; r < firstUnknown; ++r)
            QVERIFY(!(titles.at(order.at(r)) < titles.at(order.at(r - 1))));
        for (qsizetype r = firstUnknown; r < order.size(); ++r)
            QVERIFY(isUnknownTitle(titles.at(order.at(r))));
    }
};

QTEST_APPLESS_MAIN(CatalogueOrderTest)
#include "tst_catalogueorder.moc"
