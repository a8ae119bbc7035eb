// The option line of mame.ini that points the emulator at the controller files: the line
// helpers, every branch of the rewrite, and the file itself (missing, read-only, LF-only,
// bytes outside the option line kept).

#include "ReadOnly.h"
#include "input/MameIniOption.h"
#include "input/OptionLines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace zefrin;
using namespace zefrin::test;

namespace {

const QString unsetCtrlr = QStringLiteral("# ctrlr                 <NULL> (Not Set)");
const QString zefrinCtrlr = QStringLiteral("ctrlr                   Zefrin");
const QString emptyCtrlr = QStringLiteral("ctrlr                   ");

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class MameIniOptionTest : public QObject {
    Q_OBJECT

private slots:
    void padding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("padded");
        QTest::newRow("short") << "COIN1" << 24 << QStringLiteral("COIN1") + QString(19, ' ');
        QTest::newRow("exact") << "abc" << 3 << "abc";
        QTest::newRow("longer stays whole")
            << "P4_JOYSTICK_RIGHT_EXTRA_LONG" << 24 << "P4_JOYSTICK_RIGHT_EXTRA_LONG";
        QTest::newRow("empty") << "" << 2 << "  ";
    }

    void padding()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, padded);
        QCOMPARE(RellenarDerecha(text, width), padded);
    }

    void lineParts_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("rest");
        QTest::newRow("option") << "ctrlr                   Zefrin"
                                << "ctrlr"
                                << "Zefrin";
        QTest::newRow("value with blanks") << "ctrlr  my pad  "
                                           << "ctrlr"
                                           << "my pad";
        QTest::newRow("no value") << "ctrlr   "
                                  << "ctrlr"
                                  << "";
        QTest::newRow("no space") << "ctrlr"
                                  << ""
                                  << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("leading space") << " ctrlr Zefrin"
                                       << ""
                                       << "ctrlr Zefrin";
        QTest::newRow("entry") << "COIN1                   \"KEYCODE_5\""
                               << "COIN1"
                               << "\"KEYCODE_5\"";
        QTest::newRow("tab is not the separator") << "ctrlr\tZefrin x"
                                                  << "ctrlr\tZefrin"
                                                  << "x";
    }

    void lineParts()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(QString, rest);
        QCOMPARE(NombreDeLinea(line), name);
        QCOMPARE(RestoDeLinea(line), rest);
    }

    void rewrite_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("alreadySet");

        const QStringList around{"#", "# CORE INPUT OPTIONS", "#"};
        QTest::newRow("switch on from the unset form")
            << around + QStringList{unsetCtrlr, "mouse                   0"} << "Zefrin" << false
            << "" << around + QStringList{zefrinCtrlr, "mouse                   0"} << unsetCtrlr
            << false;
        QTest::newRow("switch off puts the unset form back")
            << QStringList{zefrinCtrlr} << "" << true << unsetCtrlr << QStringList{unsetCtrlr}
            << unsetCtrlr << false;
        QTest::newRow("switch on over the user's own file")
            << QStringList{"ctrlr  xarcade"} << "Zefrin" << false << "" << QStringList{zefrinCtrlr}
            << "ctrlr  xarcade" << false;
        QTest::newRow("switch off puts the user's own file back")
            << QStringList{zefrinCtrlr} << "" << true << "ctrlr  xarcade"
            << QStringList{"ctrlr  xarcade"} << "ctrlr  xarcade" << false;
        QTest::newRow("already set: nothing changes, remembered line kept")
            << QStringList{"ctrlr Zefrin", "other  1"} << "Zefrin" << false << "earlier"
            << QStringList{"ctrlr Zefrin", "other  1"} << "earlier" << true;
        QTest::newRow("already set after blanks")
            << QStringList{"ctrlr   Zefrin  "} << "Zefrin" << false << ""
            << QStringList{"ctrlr   Zefrin  "} << "" << true;
        QTest::newRow("shutdown turns Zefrin into the unset form")
            << QStringList{zefrinCtrlr} << "" << false << unsetCtrlr << QStringList{unsetCtrlr}
            << zefrinCtrlr << false;
        QTest::newRow("shutdown uncomments the unset form without a value")
            << QStringList{unsetCtrlr} << "" << false << "" << QStringList{emptyCtrlr} << unsetCtrlr
            << false;
        QTest::newRow("shutdown leaves an empty option alone")
            << QStringList{emptyCtrlr} << "" << false << "x" << QStringList{emptyCtrlr} << "x"
            << true;
        QTest::newRow("restore plays no part in comments")
            << QStringList{unsetCtrlr} << "" << true << "ctrlr foo" << QStringList{emptyCtrlr}
            << unsetCtrlr << false;
        QTest::newRow("a comment already showing the value is uncommented")
            << QStringList{"# ctrlr Zefrin"} << "Zefrin" << false << ""
            << QStringList{"ctrlr Zefrin"} << "# ctrlr Zefrin" << false;
        QTest::newRow("capitals are another option")
            << QStringList{"CTRLR  foo", "# CTRLR  <NULL> (Not Set)"} << "Zefrin" << false << ""
            << QStringList{"CTRLR  foo", "# CTRLR  <NULL> (Not Set)"} << "" << false;
        QTest::newRow("similar names are other options")
            << QStringList{"ctrlrpath               ctrlr", "#ctrlr Zefrin", "ctrlr"} << "Zefrin"
            << false << "" << QStringList{"ctrlrpath               ctrlr", "#ctrlr Zefrin", "ctrlr"}
            << "" << false;
        QTest::newRow("every line naming the option is set")
            << QStringList{"ctrlr a", "mouse 0", "# ctrlr b"} << "Zefrin" << false << ""
            << QStringList{zefrinCtrlr, "mouse 0", zefrinCtrlr} << "# ctrlr b" << false;
        QTest::newRow("one line already set keeps the whole file")
            << QStringList{"ctrlr a", "ctrlr Zefrin"} << "Zefrin" << false << ""
            << QStringList{"ctrlr a", "ctrlr Zefrin"} << "" << true;
        QTest::newRow("no option line: nothing added")
            << QStringList{"mouse 0"} << "Zefrin" << false << "" << QStringList{"mouse 0"} << ""
            << false;
        QTest::newRow("empty file")
            << QStringList{} << "Zefrin" << false << "" << QStringList{} << "" << false;
    }

    void rewrite()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, value);
        QFETCH(bool, restore);
        QFETCH(QString, before);
        QFETCH(QStringList, expected);
        QFETCH(QString, after);
        QFETCH(bool, alreadySet);
        const OptionRewrite result =
            rewriteOptionLines(lines, QStringLiteral("ctrlr"), value, restore, before);
        QCOMPARE(result.lines, expected);
        QCOMPARE(result.lineaAnterior, after);
        QCOMPARE(result.alreadySet, alreadySet);
    }

    void otherOptionsNeverTakeTheUnsetForm()
    {
        const OptionRewrite result = rewriteOptionLines(
            {QStringLiteral("bios  x")}, QStringLiteral("bios"), QString(), false, QString());
        QCOMPARE(result.lines, QStringList{QStringLiteral("bios") + QString(20, ' ')});
    }

    void init() { QVERIFY(folder.isValid()); }

    void missingFileIsNotRead()
    {
        QString linea = QStringLiteral("kept");
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QStringLiteral("Zefrin"),
                                  false, linea),
                 IniChange::NotRead);
        QCOMPARE(linea, QStringLiteral("kept"));
        QVERIFY(folderEntries().isEmpty());
    }

    void fileIsRewrittenWithCrLf()
    {
        // LF-only lines, a last line without an end, a byte that is not UTF-8.
        writeAll(iniPath(), "rompath   C:\\Juegos\\M\xe1me\n" + unsetCtrlr.toLatin1() +
                                "\nmouse                   0");
        QString linea;
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QStringLiteral("Zefrin"),
                                  false, linea),
                 IniChange::Rewritten);
        QCOMPARE(readAll(iniPath()), "rompath   C:\\Juegos\\M\xe1me\r\n" + zefrinCtrlr.toLatin1() +
                                         "\r\nmouse                   0\r\n");
        QCOMPARE(linea, unsetCtrlr);
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QString(), true, linea),
                 IniChange::Rewritten);
        QCOMPARE(readAll(iniPath()), "rompath   C:\\Juegos\\M\xe1me\r\n" + unsetCtrlr.toLatin1() +
                                         "\r\nmouse                   0\r\n");
        QCOMPARE(folderEntries(), QStringList{"mame.ini"});
    }

    void unchangedFileIsNotTouched()
    {
        const QByteArray bytes = "mouse 0\nctrlr Zefrin\n";
        writeAll(iniPath(), bytes);
        ReadOnly lock(iniPath());
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        QString linea = QStringLiteral("kept");
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QStringLiteral("Zefrin"),
                                  false, linea),
                 IniChange::Unchanged);
        QCOMPARE(
            rewriteIniOption(iniPath(), QStringLiteral("bios"), QStringLiteral("x"), false, linea),
            IniChange::Unchanged);
        QCOMPARE(readAll(iniPath()), bytes);
        QCOMPARE(linea, QStringLiteral("kept"));
    }

    void readOnlyFileOrFolderIsKeptWhole_data()
    {
        QTest::addColumn<bool>("lockFolder");
        QTest::newRow("mame.ini read-only") << false;
        QTest::newRow("emulator folder read-only") << true;
    }

    void readOnlyFileOrFolderIsKeptWhole()
    {
        QFETCH(bool, lockFolder);
        const QByteArray bytes = "# ctrlr                 <NULL> (Not Set)\r\nmouse 0\r\n";
        writeAll(iniPath(), bytes);
        ReadOnly lock(lockFolder ? folder.path() : iniPath());
        if (!lock.locked())
            QSKIP("cannot make a file immutable here (chattr +i)");
        QString linea = QStringLiteral("kept");
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QStringLiteral("Zefrin"),
                                  false, linea),
                 IniChange::NotReplaced);
        QCOMPARE(readAll(iniPath()), bytes);
        QCOMPARE(linea, QStringLiteral("kept"));
        QCOMPARE(folderEntries(), QStringList{"mame.ini"});
    }

    void unreadableFileIsNotRead()
    {
        QDir().mkdir(iniPath()); // a folder where the file should be
        QString linea;
        QCOMPARE(rewriteIniOption(iniPath(), QStringLiteral("ctrlr"), QStringLiteral("Zefrin"),
                                  false, linea),
                 IniChange::NotRead);
        QVERIFY(QFileInfo(iniPath()).isDir());
    }

    void cleanup()
    {
        QDir dir(folder.path());
        dir.removeRecursively();
        QDir().mkpath(folder.path());
    }

private:
    QString iniPath() const { return folder.filePath(QStringLiteral("mame.ini")); }
    QStringList folderEntries() const
    {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(MameIniOptionTest)
#include "tst_mameinioption.moc"
