// The compatibility search over the game list, and the game-list lines it and the window read.

#include "ManagerFolder.h"
#include "romman/CompatibilitySearch.h"
#include "romman/GameLines.h"

#include <QFile>
#include <QtTest>

#include <functional>

using namespace zefrin;
using namespace zefrin::test;

Q_DECLARE_METATYPE(zefrin::SearchEnd)

namespace {

QString gameLine(const QString& set, const QString& title)
{
    return set.leftJustified(10, QLatin1Char(' ')) + QLatin1Char('"') + title + QLatin1Char('"');
}

// The lines of the collection's games, in its order.
QStringList linesOf(const fx::Collection& collection)
{
    QStringList lines;
    for (const fx::Game& game : collection.games)
        lines << gameLine(QString::fromStdString(game.shortName),
                          QString::fromStdString(game.title));
    return lines;
}

// A window stand-in: the selection and the cancel as a script over the check counter.
class ScriptedView final : public SearchView {
public:
    void showCounter(int counter) override
    {
        counters << counter;
        if (onCounter)
            onCounter(counter);
    }
    QString selectedArchive() const override { return archive; }
    bool searchRunning() const override { return running; }

    QList<int> counters;
    QString archive;
    bool running = true;
    std::function<void(int)> onCounter;
};

} // namespace

class CompatibilitySearchTest : public QObject {
    Q_OBJECT

private slots:
    void candidateNames_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("candidate");
        QTest::addColumn<QString>("title");
        QTest::newRow("game") << "pacman    \"Come Cocos\""
                              << "pacman.zip"
                              << "Come Cocos";
        QTest::newRow("ten letters") << "tenletters\"Diez\""
                                     << "tenletters.zip"
                                     << "Diez";
        QTest::newRow("leading blanks") << "  abc     \"T\""
                                        << "abc.zip"
                                        << "T";
        QTest::newRow("title blanks trimmed") << "abc       \"  T  \""
                                              << "abc.zip"
                                              << "T";
        QTest::newRow("capitals kept") << "ABC       \"T\""
                                       << "ABC.zip"
                                       << "T";
        QTest::newRow("no set") << "          \"Nada\""
                                << ""
                                << "Nada";
        QTest::newRow("empty line") << ""
                                    << ""
                                    << "";
        QTest::newRow("short line") << "ab"
                                    << "ab.zip"
                                    << "";
        QTest::newRow("exactly twelve") << "abc       \"\""
                                        << "abc.zip"
                                        << "";
    }

    void candidateNames()
    {
        QFETCH(QString, line);
        QFETCH(QString, candidate);
        QFETCH(QString, title);
        QCOMPARE(candidateArchiveName(line), candidate);
        QCOMPARE(gameLineTitle(line), title);
    }

    void managerTitlesDropTheHeadingAndSort()
    {
        const QStringList file{"Name:     Description:",
                               gameLine("zz", "zebra"),
                               gameLine("b", "Barco"),
                               gameLine("a", "Árbol"),
                               gameLine("c", "barco"),
                               "corto",
                               "exactly12c",
                               gameLine("e", ""),
                               gameLine("d", "Arcade  1 "),
                               gameLine("f", "ñu"),
                               gameLine("g", "nube")};
        QCOMPARE(gameLinesOf(file).size(), file.size() - 1);
        QCOMPARE(managerTitles(gameLinesOf(file), QLocale(QLocale::Spanish, QLocale::Spain)),
                 (QStringList{"", "Árbol", "Arcade  1 ", "Barco", "barco", "nube", "ñu", "zebra"}));
        QVERIFY(gameLinesOf({}).isEmpty());
        QVERIFY(managerTitles({}).isEmpty());
    }

    // Without a language of its own the program still sorts without regard to letter case.
    void cLocaleSortsWithoutRegardToCase()
    {
        const QStringList lines{gameLine("a", "zumbador"), gameLine("b", "Barco"),
                                gameLine("c", "el Castillo"), gameLine("d", "Águila")};
        QCOMPARE(managerTitles(lines, QLocale::c()),
                 (QStringList{"Águila", "Barco", "el Castillo", "zumbador"}));
    }

    // Titles that collate alike keep an order of their own, whatever the file's order.
    void equalTitlesHaveAFixedOrder()
    {
        const QStringList one{gameLine("a", "Barco"), gameLine("b", "barco"),
                              gameLine("c", "BARCO")};
        const QStringList other{one.at(2), one.at(0), one.at(1)};
        QCOMPARE(managerTitles(one), managerTitles(other));
        QCOMPARE(managerTitles(one).size(), 3);
    }

    void progressStaysInRange_data()
    {
        QTest::addColumn<int>("counter");
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("value");
        QTest::newRow("before the first") << 0 << 10 << 1 << 10 << 1;
        QTest::newRow("first") << 1 << 10 << 1 << 10 << 1;
        QTest::newRow("last") << 10 << 10 << 1 << 10 << 10;
        QTest::newRow("more lines than titles") << 12 << 10 << 1 << 10 << 10;
        QTest::newRow("one title") << 1 << 1 << 1 << 1 << 1;
        QTest::newRow("no titles") << 1 << 0 << 0 << 1 << 0;
        QTest::newRow("no titles, later line") << 7 << 0 << 0 << 1 << 0;
    }

    void progressStaysInRange()
    {
        QFETCH(int, counter);
        QFETCH(int, entries);
        const ProgressFigures figures = progressFigures(counter, entries);
        QTEST(figures.minimum, "minimum");
        QTEST(figures.maximum, "maximum");
        QTEST(figures.value, "value");
    }

    void searchEnds_data()
    {
        QTest::addColumn<QString>("archive"); // what the selected archive holds
        QTest::addColumn<SearchEnd>("end");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("checks");
        QTest::newRow("third game") << "dkong" << SearchEnd::Found << "Donkey Kong" << 3;
        QTest::newRow("first game") << "galaga" << SearchEnd::Found << "Galaga Espacial" << 1;
        QTest::newRow("no game") << "foreign" << SearchEnd::Exhausted << "" << 4;
        QTest::newRow("bad files") << "bad pacman" << SearchEnd::Exhausted << "" << 4;
    }

    void searchEnds()
    {
        QFETCH(QString, archive);
        QFETCH(SearchEnd, end);
        QFETCH(QString, title);
        QFETCH(int, checks);
        ManagerFolder folder;
        if (archive == "foreign")
            folder.foreignArchive("mi viejo.zip");
        else if (archive == "bad pacman")
            folder.badArchive("pacman", "mi viejo.zip");
        else
            folder.goodArchive(archive.toStdString(), "mi viejo.zip");
        const QByteArray bytes = folder.romBytes("mi viejo.zip");
        ScriptedView view;
        view.archive = "mi viejo.zip";

        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, end);
        QCOMPARE(result.title, title);
        QCOMPARE(folder.emulatorCalls().size(), checks);
        QCOMPARE(view.counters.size(), checks);
        QCOMPARE(view.counters.last(), checks);
        QCOMPARE(folder.romsListing(), QStringList{"mi viejo.zip"});
        QCOMPARE(folder.romBytes("mi viejo.zip"), bytes);
        QVERIFY(!QFile::exists(folder.recordPath()));
    }

    void gameWithItsArchivePresentIsNeverProposed()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "copia.zip");
        folder.goodArchive("pacman", "pacman.zip");
        ScriptedView view;
        view.archive = "copia.zip";
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, SearchEnd::Exhausted);
        QCOMPARE(folder.emulatorCalls().size(), 3); // pacman's check never reaches the emulator
        QCOMPARE(folder.romsListing(), (QStringList{"copia.zip", "pacman.zip"}));
    }

    void archiveWithTheGamesOwnNameIsCheckedAsItIs()
    {
        ManagerFolder folder;
        folder.goodArchive("pacman", "pacman.zip");
        ScriptedView view;
        view.archive = "pacman.zip";
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, SearchEnd::Found);
        QCOMPARE(result.title, QStringLiteral("Come Cocos"));
        QCOMPARE(folder.romsListing(), QStringList{"pacman.zip"});
    }

    void cancelTakesEffectAfterTheRunningCheck_data()
    {
        QTest::addColumn<QString>("holds");
        QTest::addColumn<int>("cancelAt");
        QTest::addColumn<SearchEnd>("end");
        QTest::addColumn<int>("checks");
        QTest::newRow("cancelled during the first") << "foreign" << 1 << SearchEnd::Cancelled << 1;
        QTest::newRow("cancelled during the second") << "foreign" << 2 << SearchEnd::Cancelled << 2;
        QTest::newRow("the running check finds it") << "pacman" << 2 << SearchEnd::Found << 2;
    }

    void cancelTakesEffectAfterTheRunningCheck()
    {
        QFETCH(QString, holds);
        QFETCH(int, cancelAt);
        QFETCH(SearchEnd, end);
        QFETCH(int, checks);
        ManagerFolder folder;
        if (holds == "foreign")
            folder.foreignArchive("viejo.zip");
        else
            folder.goodArchive(holds.toStdString(), "viejo.zip");
        ScriptedView view;
        view.archive = "viejo.zip";
        view.onCounter = [&view, cancelAt](int counter) {
            view.running = counter < cancelAt;
        };
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, end);
        QCOMPARE(folder.emulatorCalls().size(), checks);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
    }

    void newSelectionIsTakenUpByTheNextCheck()
    {
        ManagerFolder folder;
        folder.foreignArchive("a.zip");
        folder.goodArchive("galaga", "b.zip"); // galaga comes first: seen only if b is tested
        folder.goodArchive("tetrix", "c.zip");
        ScriptedView view;
        view.archive = "a.zip";
        view.onCounter = [&view](int counter) {
            if (counter == 2)
                view.archive = "c.zip";
            if (counter == 3)
                view.archive.clear(); // no selection: the previous archive goes on
        };
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, SearchEnd::Found);
        QCOMPARE(result.title, QStringLiteral("Tetrix"));
        QCOMPARE(result.archive, QStringLiteral("c.zip"));
        QCOMPARE(folder.romsListing(), (QStringList{"a.zip", "b.zip", "c.zip"}));
    }

    void archiveDeletedDuringTheSearch()
    {
        ManagerFolder folder;
        folder.foreignArchive("viejo.zip");
        ScriptedView view;
        view.archive = "viejo.zip";
        view.onCounter = [&folder](int counter) {
            if (counter == 3)
                QFile::remove(folder.romPath("viejo.zip"));
        };
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        QCOMPARE(result.end, SearchEnd::Stopped);
        QCOMPARE(result.failure, CheckOutcome::ArchiveMissing);
        QCOMPARE(result.archive, QStringLiteral("viejo.zip"));
        QCOMPARE(folder.emulatorCalls().size(), 2);
        QVERIFY(folder.romsListing().isEmpty());
    }

    void archiveLockedDuringTheSearch()
    {
        ManagerFolder folder;
        folder.foreignArchive("viejo.zip");
        std::optional<Immutable> lock;
        ScriptedView view;
        view.archive = "viejo.zip";
        view.onCounter = [&](int counter) {
            if (counter == 2)
                lock.emplace(folder.romPath("viejo.zip"));
        };
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, linesOf(folder.collection), view);
        if (!lock->applied())
            QSKIP("chattr +i is not available here");
        QCOMPARE(result.end, SearchEnd::Stopped);
        QCOMPARE(result.failure, CheckOutcome::RenameRefused);
        QCOMPARE(folder.emulatorCalls().size(), 1);
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
    }

    void linesWithoutSetAreCountedNotChecked()
    {
        ManagerFolder folder;
        folder.goodArchive("tetrix", "viejo.zip");
        const QStringList lines{gameLine("", "Sin nombre"), "", gameLine("galaga", "G"),
                                gameLine("../x", "Fuera"), gameLine("tetrix", "Tetrix")};
        ScriptedView view;
        view.archive = "viejo.zip";
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        const SearchResult result = searchCompatibleGame(checker, lines, view);
        QCOMPARE(result.end, SearchEnd::Found);
        QCOMPARE(view.counters, (QList<int>{1, 2, 3, 4, 5}));
        QCOMPARE(folder.emulatorCalls(),
                 (QStringList{"galaga\t-verifysets", "tetrix\t-verifysets"}));
        QCOMPARE(folder.romsListing(), QStringList{"viejo.zip"});
    }

    void emptyListEndsAtOnce()
    {
        ManagerFolder folder;
        folder.goodArchive("tetrix", "viejo.zip");
        ScriptedView view;
        view.archive = "viejo.zip";
        const ArchiveChecker checker(folder.path(), folder.recordPath());
        QCOMPARE(searchCompatibleGame(checker, {}, view).end, SearchEnd::Exhausted);
        QVERIFY(view.counters.isEmpty());
        QVERIFY(folder.emulatorCalls().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CompatibilitySearchTest)
#include "tst_compatibilitysearch.moc"
