#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Writes big-endian values into a body, byte for byte what a QDataStream with
// its defaults writes (and doubles as IEEE 754 binary64).
class KoBodyWriter
{
public:
    explicit KoBodyWriter(QByteArray& out) : out(out) {}

    KoBodyWriter& I8(int8_t value);
    KoBodyWriter& I16(int16_t value);
    KoBodyWriter& I32(int32_t value);
    KoBodyWriter& I64(int64_t value);
    KoBodyWriter& F64(double value);
    KoBodyWriter& Bytes(const char* data, qsizetype size);
    KoBodyWriter& Bytes(const QByteArray& data) { return Bytes(data.constData(), data.size()); }
    // i32 length, then the Latin-1 bytes.
    KoBodyWriter& Str32(const QString& text);
    // i16 length, then the Latin-1 bytes.
    KoBodyWriter& Str16(const QString& text);

private:
    KoBodyWriter& Unsigned(uint64_t value, int bytes);

    QByteArray& out;
};
