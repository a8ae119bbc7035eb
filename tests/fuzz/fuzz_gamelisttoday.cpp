// lista.txt from today's emulator: any bytes, both layouts mixed, titles holding quotes, names
// of any length. Every line must split into a name without blanks or quotes and a title, and
// the list read once for a build, whole or for some archives only, must answer a lookup
// exactly as a fresh scan of the file does.

#include "FuzzInput.h"
#include "engine/catalogue/GameList.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const Dialect today = Dialect::Today;

    // Ask for names and titles the file itself holds, and a few it does not.
    QStringList archives{QStringLiteral("pong.zip"), QStringLiteral(".zip"), QString()};
    QStringList titles{QString(), QStringLiteral("Pong (Rev E) [TTL]")};
    // The first 16 lines: any line the fuzzer makes can stand among them.
    TextLineReader reader = fuzz::firstLinesOf(input);
    std::optional<QStringView> line = reader.nextView();
    for (int i = 1; i < 16 && (line = reader.nextView()); ++i) {
        const QStringView name = gameLineName(*line, today);
        if (name.contains(QLatin1Char(' ')) || name.contains(QLatin1Char('"')) ||
            candidateArchiveName(*line, today).isEmpty() != name.isEmpty() ||
            hasTitle(*line, today) != (line->count(QLatin1Char('"')) >= 2))
            std::abort();
        if (i > 3)
            continue; // each lookup reads the list anew: a few are enough
        archives << name.toString().toUpper() + QStringLiteral(".zip");
        titles << gameLineTitle(*line, today).toString().toLower();
    }

    // One lookup a run, of a name or of a title; the input decides which (each fresh scan
    // reads it whole). Half the names are also looked up in a list read for some archives only.
    const qsizetype pick = static_cast<qsizetype>(size % archives.size());
    const QString& archive = archives.at(pick);
    const QString& title = titles.at(static_cast<qsizetype>(size % titles.size()));
    if (size % 2) {
        const std::optional<QString> expected =
            TitleForArchive(memoryDevice(input), archive, today);
        if (GameList(input, today).titleForArchive(archive) != expected ||
            (pick < 4 && size % 4 == 1 &&
             GameList(input, today, archives.mid(0, 4)).titleForArchive(archive) != expected))
            std::abort();
    } else if (GameList(input, today).archiveForTitle(title) !=
               ArchiveForTitle(memoryDevice(input), title, today)) {
        std::abort();
    }
    return 0;
}
