// The lookups over lista.txt: the column rules, damaged or odd files, and the list read once
// answering exactly as a fresh read per lookup.

#include "catalogue/GameList.h"
#include "support/EmulatorFolder.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

// "mame -listfull" output with the odd lines a hand or another emulator build may leave.
const QByteArray sampleList = "Name:     Description:\r\n"
                              "abcd      \"Alpha Beta (set 1)\"\r\n"
                              "ABCD2     \"Second\"\r\n"
                              "short\r\n"
                              "short     \"Found after a short line\"\r\n"
                              "empty     \"\"\r\n"
                              "dup1      \"Same Title\"\r\n"
                              "dup2      \"same title\"\r\n"
                              "abcd      \"Later line of abcd\"\r\n"
                              "abcdefghij\"Ten Letters\"\r\n"
                              "a.b       \"Dotted Name\"\r\n"
                              "odd       \"Title with \"quotes\" inside\"\r\n"
                              "noquote   \"No closing X\r\n"
                              "\xc3\xb1"
                              "and\xc3\xba     \"\xc3\x91"
                              "and\xc3\xba (Spain)\"\r\n"
                              "sp ace    \"Inner space\"\r\n";

// The answer as the tests compare it: a failed read shows as "<fail>".
QString shown(const std::optional<QString>& answer)
{
    return answer ? *answer : QStringLiteral("<fail>");
}

QString randomText(QRandomGenerator& random, const QString& letters, int maximumLength)
{
    QString text;
    const int length = random.bounded(maximumLength + 1);
    for (int k = 0; k < length; ++k)
        text += letters.at(random.bounded(letters.size()));
    return text;
}

// A game line with a name from few letters, so names and titles repeat in letter case
// variants; now and then a line too short for a title.
QString randomLine(QRandomGenerator& random)
{
    const QString name = randomText(random, QStringLiteral("aAbB"), 11);
    if (random.bounded(8) == 0)
        return name;
    const QString title = randomText(random, QStringLiteral("aAbB \xe9\xc9"), 3);
    return (name + QString(10, QLatin1Char(' '))).left(qMax(10, int(name.size()))) +
           QLatin1Char('"') + title + QLatin1Char('"');
}

} // namespace

class GameListTest : public QObject {
    Q_OBJECT

private slots:
    void titleForArchive_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("title");
        QTest::newRow("capital archive, small name") << "ABCD.ZIP"
                                                     << "Alpha Beta (set 1)";
        QTest::newRow("first line wins") << "abcd.zip"
                                         << "Alpha Beta (set 1)";
        QTest::newRow("capital name in the file") << "abcd2.zip"
                                                  << "Second";
        QTest::newRow("unknown") << "xyz.zip"
                                 << "ROM desconocida(xyz.zip)";
        QTest::newRow("ten letters fill the column") << "abcdefghij.zip"
                                                     << "Ten Letters";
        QTest::newRow("eleven letters never match") << "abcdefghijk.zip"
                                                    << "ROM desconocida(abcdefghijk.zip)";
        QTest::newRow("short line passed over") << "short.zip"
                                                << "Found after a short line";
        QTest::newRow("empty title") << "empty.zip"
                                     << "";
        QTest::newRow("several dots") << "a.b.zip"
                                      << "Dotted Name";
        QTest::newRow("inner quotes kept") << "odd.zip"
                                           << "Title with \"quotes\" inside";
        QTest::newRow("last character dropped whatever it is") << "noquote.zip"
                                                               << "No closing ";
        QTest::newRow("accented name") << "\u00d1AND\u00da.zip"
                                       << "\u00d1and\u00fa (Spain)";
        QTest::newRow("name with a space") << "sp ace.zip"
                                           << "Inner space";
        QTest::newRow("quote in the archive name") << "it's.zip"
                                                   << "ROM desconocida(it's.zip)";
    }

    void titleForArchive()
    {
        QFETCH(QString, archive);
        QFETCH(QString, title);
        EmulatorFolder folder;
        folder.writeFile("lista.txt", sampleList);
        QCOMPARE(shown(TitleForArchive(folder.path(), archive)), title);
        const GameList list(folder.path());
        QCOMPARE(shown(list.titleForArchive(archive)), title);
    }

    void archiveForTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("archive");
        QTest::newRow("other capitalisation") << "alpha beta (SET 1)"
                                              << "abcd.zip";
        QTest::newRow("extra trailing space") << "Alpha Beta (set 1) "
                                              << "ERROR";
        QTest::newRow("title twice: first line") << "Same Title"
                                                 << "dup1.zip";
        QTest::newRow("name keeps its capitals") << "SECOND"
                                                 << "ABCD2.zip";
        QTest::newRow("later line of a name") << "Later line of abcd"
                                              << "abcd.zip";
        QTest::newRow("accented title") << "\u00f1and\u00fa (spain)"
                                        << "\u00f1and\u00fa.zip";
        QTest::newRow("name filling the column") << "Ten Letters"
                                                 << "abcdefghij.zip";
        QTest::newRow("unknown") << "Not There"
                                 << "ERROR";
    }

    void archiveForTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, archive);
        EmulatorFolder folder;
        folder.writeFile("lista.txt", sampleList);
        QCOMPARE(shown(ArchiveForTitle(folder.path(), title)), archive);
        GameList list(folder.path());
        QCOMPARE(shown(list.archiveForTitle(title)), archive);
    }

    void damagedOrOddFiles_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<none>": no file; "<folder>": a folder
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("archiveOfBeta");
        const QByteArray two = "abcd      \"Alpha\"\r\nefgh      \"Beta\"\r\n";
        QTest::newRow("missing") << QByteArray("<none>") << "abcd.zip"
                                 << "<fail>"
                                 << "<fail>";
        QTest::newRow("unreadable") << QByteArray("<folder>") << "abcd.zip"
                                    << "<fail>"
                                    << "<fail>";
        QTest::newRow("empty") << QByteArray() << "abcd.zip"
                               << "ROM desconocida(abcd.zip)"
                               << "ERROR";
        QTest::newRow("heading only") << QByteArray("Name:     Description:\r\n") << "abcd.zip"
                                      << "ROM desconocida(abcd.zip)"
                                      << "ERROR";
        QTest::newRow("LF line ends") << QByteArray(two).replace("\r\n", "\n") << "efgh.zip"
                                      << "Beta"
                                      << "efgh.zip";
        QTest::newRow("CR line ends") << QByteArray(two).replace("\r\n", "\r") << "efgh.zip"
                                      << "Beta"
                                      << "efgh.zip";
        QTest::newRow("no last line end") << two.chopped(2) << "efgh.zip"
                                          << "Beta"
                                          << "efgh.zip";
        QTest::newRow("binary around game lines")
            << QByteArray("\x00\x01\xff\xfe\x80junk\r\n", 11) + two + QByteArray("\xff\x00\xc3", 3)
            << "abcd.zip"
            << "Alpha"
            << "efgh.zip";
        QTest::newRow("megabyte line first")
            << QByteArray(1 << 20, 'x') + "\r\n" + two << "efgh.zip"
            << "Beta"
            << "efgh.zip";
        QTest::newRow("lines shorter than a title")
            << QByteArray("abcd\r\nefgh      \"\r\n") << "abcd.zip"
            << "ROM desconocida(abcd.zip)"
            << "ERROR";
    }

    void damagedOrOddFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, archive);
        QFETCH(QString, title);
        QFETCH(QString, archiveOfBeta);
        EmulatorFolder folder;
        if (content == "<folder>")
            folder.makeFolder("lista.txt");
        else if (content != "<none>")
            folder.writeFile("lista.txt", content);

        QCOMPARE(shown(TitleForArchive(folder.path(), archive)), title);
        QCOMPARE(shown(ArchiveForTitle(folder.path(), "Beta")), archiveOfBeta);
        GameList list(folder.path());
        QCOMPARE(list.isReadable(), title != "<fail>");
        QCOMPARE(shown(list.titleForArchive(archive)), title);
        QCOMPARE(shown(list.archiveForTitle("Beta")), archiveOfBeta);
    }

    void megabyteTitleComesBackWhole()
    {
        EmulatorFolder folder;
        folder.writeFile("lista.txt", "huge      \"" + QByteArray(1 << 20, 'T') + "\"\r\n");
        const GameList list(folder.path());
        QCOMPARE(list.titleForArchive("huge.zip").value_or(QString()).size(), 1 << 20);
    }

    void regeneratedListIsSeenByTheNextLookup()
    {
        EmulatorFolder folder;
        folder.writeFile("lista.txt", "abcd      \"Old\"\r\n");
        QCOMPARE(shown(TitleForArchive(folder.path(), "abcd.zip")), QStringLiteral("Old"));
        folder.writeFile("lista.txt", "abcd      \"New\"\r\n");
        QCOMPARE(shown(TitleForArchive(folder.path(), "abcd.zip")), QStringLiteral("New"));
    }

    void listReadOnceAnswersAsFreshReads()
    {
        QRandomGenerator random(424242u);
        for (int file = 0; file < 150; ++file) {
            EmulatorFolder folder;
            QStringList lines;
            const int count = random.bounded(30);
            for (int k = 0; k < count; ++k)
                lines << randomLine(random);
            folder.writeFile("lista.txt", lines.join("\r\n").toUtf8());
            GameList list(folder.path());
            for (int query = 0; query < 20; ++query) {
                const QString archive =
                    randomText(random, QStringLiteral("aAbB."), 11) +
                    (random.bounded(2) ? QStringLiteral(".zip") : QStringLiteral(".ZIP"));
                QCOMPARE(list.titleForArchive(archive), TitleForArchive(folder.path(), archive));
                const QString title = randomText(random, QStringLiteral("aAbB \xe9\xc9"), 3);
                QCOMPARE(list.archiveForTitle(title), ArchiveForTitle(folder.path(), title));
            }
        }
    }

    void localeUpperCaseDecidesMatches()
    {
        // Turkish upper-cases i to a dotted capital, so a plain ASCII shortcut would be wrong.
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        const LocaleUpper turkish;
        QLocale::setDefault(QLocale::c());
        const LocaleUpper plain;
        QCOMPARE(turkish(u"pacmani"), QStringLiteral("PACMAN\u0130"));
        QCOMPARE(plain(u"pacmani"), QStringLiteral("PACMANI"));
        QCOMPARE(plain(u"\u00f1and\u00fa"), QStringLiteral("\u00d1AND\u00da"));

        EmulatorFolder folder;
        folder.writeFile("lista.txt", "pacmani   \"Pac-Man I\"\r\n");
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        const GameList list(folder.path());
        const std::optional<QString> fresh = TitleForArchive(folder.path(), "PACMANI.zip");
        QLocale::setDefault(QLocale::c());
        QCOMPARE(shown(list.titleForArchive("PACMANI.zip")), shown(fresh));
        QCOMPARE(shown(fresh), QStringLiteral("ROM desconocida(PACMANI.zip)"));
    }
};

QTEST_APPLESS_MAIN(GameListTest)
#include "tst_gamelist.moc"
