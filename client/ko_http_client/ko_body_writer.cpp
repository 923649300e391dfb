#include "ko_body_writer.h"

#include <cstring>

KoBodyWriter& KoBodyWriter::Unsigned(uint64_t value, int bytes)
{
    char buf[8];
    for (int i = bytes - 1; i >= 0; --i) {
        buf[i] = static_cast<char>(value & 0xff);
        value >>= 8;
    }
    out.append(buf, bytes);
    return *this;
}

KoBodyWriter& KoBodyWriter::I8(int8_t value)
{
    return Unsigned(static_cast<uint8_t>(value), 1);
}

KoBodyWriter& KoBodyWriter::I16(int16_t value)
{
    return Unsigned(static_cast<uint16_t>(value), 2);
}

KoBodyWriter& KoBodyWriter::I32(int32_t value)
{
    return Unsigned(static_cast<uint32_t>(value), 4);
}

KoBodyWriter& KoBodyWriter::I64(int64_t value)
{
    return Unsigned(static_cast<uint64_t>(value), 8);
}

KoBodyWriter& KoBodyWriter::F64(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Unsigned(bits, 8);
}

KoBodyWriter& KoBodyWriter::Bytes(const char* data, qsizetype size)
{
    if (size > 0)
        out.append(data, int(size));
    return *this;
}

KoBodyWriter& KoBodyWriter::Str32(const QString& text)
{
    const QByteArray bytes = text.toLatin1();
    I32(bytes.size());
    return Bytes(bytes);
}

KoBodyWriter& KoBodyWriter::Str16(const QString& text)
{
    // An i16 length cannot say more than 32767 bytes; a longer text is cut
    // there rather than sent with a length that lies.
    QByteArray bytes = text.toLatin1();
    if (bytes.size() > 32767)
        bytes.truncate(32767);
    I16(static_cast<int16_t>(bytes.size()));
    return Bytes(bytes);
}
