// lista.txt from the classic emulator: any bytes must be read without failing, and the list read
// once for a build must answer a lookup exactly as a fresh scan of the file does.

#include "FuzzInput.h"
#include "engine/catalogue/GameList.h"

#include <cstdlib>

using namespace zefrin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);

    // One lookup a run, of a name or of a title, one the file itself suggests or one it does
    // not hold; which, the input decides (each fresh scan reads it whole again).
    QStringList archives{QStringLiteral("pacman.zip"), QStringLiteral(".zip"), QString()};
    QStringList titles{QString(), QStringLiteral("Pac-Man")};
    TextLineReader reader = fuzz::firstLinesOf(input);
    std::optional<QStringView> line;
    for (int i = 0; i < 3 && (line = reader.nextView()); ++i) {
        archives << line->left(10).trimmed().toString() + QStringLiteral(".ZIP");
        titles << line->mid(11, line->size() - 12).toString().toLower();
    }
    const QString& archive = archives.at(static_cast<qsizetype>(size % archives.size()));
    const QString& title = titles.at(static_cast<qsizetype>(size % titles.size()));

    GameList list(input, Dialect::Classic);
    if (size % 2 ? list.titleForArchive(archive) !=
                       TitleForArchive(memoryDevice(input), archive, Dialect::Classic)
                 : list.archiveForTitle(title) !=
                       ArchiveForTitle(memoryDevice(input), title, Dialect::Classic))
        std::abort();
    return 0;
}
