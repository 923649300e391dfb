#include "ko_body_reader.h"

#include <cstring>

uint64_t KoBodyReader::ReadUnsigned(int bytes)
{
    if (Remaining() < bytes) {
        // A field cut off by the end of the body reads as zero; the rest of
        // it is consumed so later fields read as zero too.
        pos = size;
        isShort = true;
        return 0;
    }
    uint64_t value = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(data + pos);
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | p[i];
    pos += bytes;
    return value;
}

int8_t KoBodyReader::I8()
{
    return static_cast<int8_t>(ReadUnsigned(1));
}

int16_t KoBodyReader::I16()
{
    return static_cast<int16_t>(ReadUnsigned(2));
}

int32_t KoBodyReader::I32()
{
    return static_cast<int32_t>(ReadUnsigned(4));
}

int64_t KoBodyReader::I64()
{
    return static_cast<int64_t>(ReadUnsigned(8));
}

double KoBodyReader::F64()
{
    const uint64_t bits = ReadUnsigned(8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

const char* KoBodyReader::Bytes(qint64 n)
{
    if (n < 0 || n > Remaining()) {
        isShort = true;
        return nullptr;
    }
    const char* p = data + pos;
    pos += qsizetype(n);
    return p;
}

bool KoBodyReader::StringList(QStringList& out)
{
    out.clear();
    const int32_t m = I32();
    // Each text needs at least its length field.
    if (m < 0 || qint64(m) * 4 > Remaining())
        return false;
    out.reserve(m);
    for (int32_t i = 0; i < m; ++i) {
        const int32_t n = I32();
        const char* text = Bytes(n);
        if (isShort || n < 0) {
            out.clear();
            return false;
        }
        out.append(QString::fromLatin1(text, n));
    }
    return true;
}
