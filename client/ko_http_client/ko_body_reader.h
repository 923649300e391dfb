#pragma once

#include <QStringList>
#include <QtGlobal>

#include <cstdint>

// Reads big-endian values from a frame body without ever going past its end.
// A value that is not (wholly) there reads as zero and marks the reader short,
// which is how the device's shorter bodies are meant to be read.
class KoBodyReader
{
public:
    KoBodyReader(const char* data, qsizetype size) : data(data), size(size) {}

    int8_t I8();
    int16_t I16();
    int32_t I32();
    int64_t I64();
    double F64();

    // Reads n bytes in place: the pointer to them, or null (and nothing
    // consumed, the reader marked short) when fewer than n remain.
    const char* Bytes(qint64 n);
    bool Skip(qint64 n) { return Bytes(n) != nullptr || n == 0; }

    // i32 count m, then m texts of i32 length and Latin-1 bytes. False (and
    // out empty) when the body cannot hold what the counts promise; nothing
    // is reserved before that is known to fit.
    bool StringList(QStringList& out);

    qsizetype Position() const { return pos; }
    qsizetype Remaining() const { return size - pos; }
    // A read asked for more than the body held.
    bool Short() const { return isShort; }

private:
    uint64_t ReadUnsigned(int bytes);

    const char* data;
    qsizetype size;
    qsizetype pos = 0;
    bool isShort = false;
};
