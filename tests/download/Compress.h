#pragma once
// Compressing test bodies as servers do.

#include <QByteArray>
#include <zlib.h>

namespace lot::test {

enum class TWrap { Gzip, Zlib, Raw };

inline QByteArray Compress(const QByteArray &data, TWrap wrap) {
    z_stream zs{};
    const int bits = wrap == TWrap::Gzip ? 15 + 16 : wrap == TWrap::Zlib ? 15 : -15;
    deflateInit2(&zs, Z_BEST_COMPRESSION, Z_DEFLATED, bits, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&zs, uLong(data.size()))) + 64, Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(data.constData()));
    zs.avail_in = uInt(data.size());
    zs.next_out = reinterpret_cast<Bytef *>(out.data());
    zs.avail_out = uInt(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(qsizetype(zs.total_out));
    deflateEnd(&zs);
    return out;
}

} // namespace lot::test
