#include "ZipCrcs.h"

#include <QFile>

#include <zip.h>

#include <memory>

namespace zefrin {

namespace {

struct ZipDiscard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipArchive = std::unique_ptr<zip_t, ZipDiscard>;

struct SourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
using ZipSource = std::unique_ptr<zip_source_t, SourceFree>;

// Opens the archive over `source`, which it then owns.
std::optional<QList<quint32>> crcsOf(ZipSource source)
{
    if (!source)
        return std::nullopt;
    zip_error_t error;
    zip_error_init(&error);
    ZipArchive archive(zip_open_from_source(source.get(), ZIP_RDONLY, &error));
    zip_error_fini(&error);
    if (!archive)
        return std::nullopt; // the source is still ours, and freed
    (void)source.release();
    const zip_int64_t entries = zip_get_num_entries(archive.get(), 0);
    if (entries < 0)
        return std::nullopt;
    QList<quint32> crcs;
    for (zip_int64_t i = 0; i < entries; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0)
            continue;
        const bool hasCrc = (stat.valid & ZIP_STAT_CRC) != 0;
        const bool hasFiles = (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > 0;
        const bool folder = (stat.valid & ZIP_STAT_NAME) != 0 && stat.name &&
                            QByteArrayView(stat.name).endsWith('/');
        if (hasCrc && hasFiles && !folder)
            crcs << stat.crc;
    }
    return crcs;
}

} // namespace

std::optional<QList<quint32>> zipFileCrcs(const QString& path)
{
    zip_error_t error;
    zip_error_init(&error);
    ZipSource source(zip_source_file_create(QFile::encodeName(path).constData(), 0, -1, &error));
    zip_error_fini(&error);
    return crcsOf(std::move(source));
}

std::optional<QList<quint32>> zipFileCrcs(const QByteArray& bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    ZipSource source(zip_source_buffer_create(bytes.constData(),
                                              static_cast<zip_uint64_t>(bytes.size()), 0, &error));
    zip_error_fini(&error);
    return crcsOf(std::move(source));
}

} // namespace zefrin
