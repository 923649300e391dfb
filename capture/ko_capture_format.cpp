#include "ko_capture_format.h"

#include <QtEndian>

#include <zlib.h>

#include <algorithm>

namespace ko_capture {

void PutU16(QByteArray& out, quint16 v)
{
    char b[2];
    qToBigEndian(v, b);
    out.append(b, 2);
}

void PutU32(QByteArray& out, quint32 v)
{
    char b[4];
    qToBigEndian(v, b);
    out.append(b, 4);
}

void PutU64(QByteArray& out, quint64 v)
{
    char b[8];
    qToBigEndian(v, b);
    out.append(b, 8);
}

quint16 GetU16(const char* p)
{
    return qFromBigEndian<quint16>(p);
}

quint32 GetU32(const char* p)
{
    return qFromBigEndian<quint32>(p);
}

quint64 GetU64(const char* p)
{
    return qFromBigEndian<quint64>(p);
}

quint32 Crc32(const char* data, qint64 size)
{
    uLong crc = crc32(0L, Z_NULL, 0);
    // zlib takes the length as uInt.
    while (size > 0) {
        const uInt n = uInt(std::min<qint64>(size, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), n);
        data += n;
        size -= n;
    }
    return quint32(crc);
}

} // namespace ko_capture
