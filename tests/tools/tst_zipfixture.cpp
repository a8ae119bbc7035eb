// The zip and checksum code the stand-in emulator judges archives with, and the collections
// the tests and the demo are built from.

#include "fixture/Collection.h"
#include "fixture/Crc32.h"
#include "fixture/Zip.h"

#include <QTemporaryDir>
#include <QTest>

namespace fx = zefrin::fixture;

class TestZipFixture : public QObject {
    Q_OBJECT

private:
    static std::string sampleArchive()
    {
        return fx::zipBytes({{"a.bin", "alpha"}, {"sub/ñ.rom", std::string(300, 'x')}, {"e", ""}})
            .value();
    }

private slots:
    void crc32MatchesKnownVectors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<uint>("crc");
        QTest::newRow("empty") << QByteArray() << 0x00000000U;
        QTest::newRow("check value") << QByteArray("123456789") << 0xCBF43926U;
        QTest::newRow("one letter") << QByteArray("a") << 0xE8B7BE43U;
        QTest::newRow("fox") << QByteArray("The quick brown fox jumps over the lazy dog")
                             << 0x414FA339U;
        QTest::newRow("high bytes") << QByteArray("\xff\x00\x80", 3) << 0xAC616EDFU;
    }

    void crc32MatchesKnownVectors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(uint, crc);
        const std::string_view all(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(fx::crc32(all), crc);
        // Continuing over a split gives the checksum of the whole.
        const std::size_t half = all.size() / 2;
        QCOMPARE(fx::crc32(all.substr(half), fx::crc32(all.substr(0, half))), crc);
    }

    void writtenArchiveReadsBack()
    {
        QTemporaryDir dir;
        const std::filesystem::path path = dir.filePath("x.zip").toStdString();
        const std::vector<fx::ZipEntry> entries{
            {"a.bin", "alpha"}, {"sub/ñ.rom", std::string(70000, 'z')}, {"empty", ""}};
        QVERIFY(fx::writeZip(path, entries));
        const auto files = fx::readZipDirectory(path);
        QVERIFY(files.has_value());
        QCOMPARE(files->size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            QCOMPARE((*files)[i].name, entries[i].name);
            QCOMPARE((*files)[i].crc, fx::crc32(entries[i].content));
            QCOMPARE((*files)[i].size, entries[i].content.size());
        }
        // Stored data follows each local header and its name: the first entry's bytes.
        const std::string bytes = fx::zipBytes(entries).value();
        QCOMPARE(bytes.substr(0, 4), std::string("PK\x03\x04"));
        QCOMPARE(bytes.substr(30, 10), std::string("a.binalpha"));
        QCOMPARE(fx::parseZipDirectory(bytes), files);
    }

    void everyCutOffArchiveIsNotAZip()
    {
        const std::string whole = sampleArchive();
        for (std::size_t size = 0; size < whole.size(); ++size)
            QVERIFY2(!fx::parseZipDirectory(std::string_view(whole).substr(0, size)),
                     qPrintable(QString::number(size)));
    }

    void damagedArchivesNeverReadOutOfBounds()
    {
        // Flip each byte in turn; whatever the result, the sanitizers see every access.
        const std::string whole = sampleArchive();
        int stillZips = 0;
        for (std::size_t at = 0; at < whole.size(); ++at) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ 0xFF);
            stillZips += fx::parseZipDirectory(damaged).has_value() ? 1 : 0;
        }
        QVERIFY(stillZips > 0); // damage to stored data goes unnoticed, as in the real format
        QVERIFY(stillZips < static_cast<int>(whole.size()));
    }

    void garbageFilesAreNotZips_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("text") << QByteArray("Este archivo no es un zip.\n");
        QTest::newRow("bare end record") << QByteArray("PK\x05\x06", 4);
        // An end record announcing one entry at offset 0 in a directory of 46 bytes that the
        // file does not have.
        QTest::newRow("directory outside the file")
            << QByteArray("PK\x05\x06\0\0\0\0\1\0\1\0\x2e\0\0\0\0\0\0\0\0\0", 22);
    }

    void garbageFilesAreNotZips()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QFile file(dir.filePath("g.zip"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(!fx::readZipDirectory(file.fileName().toStdString()));
        QVERIFY(!fx::parseZipDirectory(std::string_view(bytes.constData(), bytes.size())));
    }

    void missingPathsAreNotZips()
    {
        QTemporaryDir dir;
        QVERIFY(!fx::readZipDirectory(dir.filePath("none.zip").toStdString()));
        QVERIFY(!fx::readZipDirectory(dir.path().toStdString()));
    }

    void collectionFilesFollowFromNames()
    {
        const fx::Game game = fx::makeGame("g", "Título", {{"f", 5}, {"h", 0}});
        QCOMPARE(game.files[0].content, std::string("g/fg/"));
        QCOMPARE(
            fx::dataFileText({{game}, {{"run-ms", "5", "g"}}}),
            "# standin.dat: the games and the behaviour of the stand-in emulator\n"
            "game\tg\tTítulo\tf=" +
                QByteArray::number(fx::crc32("g/fg/"), 16).rightJustified(8, '0').toStdString() +
                ":5\th=00000000:0\n"
                "run-ms\t5\tg\n");
    }

    void badAndForeignArchivesDifferFromTheGame()
    {
        QTemporaryDir dir;
        const fx::Game game = fx::makeGame("g", "G", {{"b.bin", 64}, {"a.bin", 32}});
        const std::filesystem::path bad = dir.filePath("bad.zip").toStdString();
        const std::filesystem::path foreign = dir.filePath("foreign.zip").toStdString();
        QVERIFY(fx::writeBadArchive(game, bad));
        QVERIFY(fx::writeForeignArchive(foreign, "x", 3));
        const auto badFiles = fx::readZipDirectory(bad).value();
        QCOMPARE(badFiles.size(), 2U);
        // Only the first file by name is spoiled, keeping its name and size.
        QCOMPARE(badFiles[0].crc, fx::crc32(game.files[0].content));
        QCOMPARE(badFiles[1].name, std::string("a.bin"));
        QCOMPARE(badFiles[1].size, 32U);
        QVERIFY(badFiles[1].crc != fx::crc32(game.files[1].content));
        const auto foreignFiles = fx::readZipDirectory(foreign).value();
        QCOMPARE(foreignFiles.size(), 3U);
        for (const auto& file : foreignFiles)
            for (const auto& rom : game.files)
                QVERIFY(file.crc != fx::crc32(rom.content));
    }
};

QTEST_GUILESS_MAIN(TestZipFixture)
#include "tst_zipfixture.moc"
