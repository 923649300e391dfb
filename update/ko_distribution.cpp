#include "ko_distribution.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

qint64 KoDistribution::dataStart(int group_count, int member_count)
{
    return fixedHeaderSize + qint64(group_count) * groupRecordSize +
           qint64(member_count) * memberRecordSize;
}

quint32 KoDistribution::crc32(const char* data, qint64 size, quint32 crc)
{
    uLong value = crc;
    // zlib takes the length as uInt; feed very long buffers in slices.
    constexpr qint64 slice = 1 << 30;
    while (size > 0) {
        const qint64 n = std::min(size, slice);
        value = ::crc32(value, reinterpret_cast<const Bytef*>(data), uInt(n));
        data += n;
        size -= n;
    }
    return quint32(value);
}

const KoTea::Key& KoDistribution::headerKey()
{
    static const KoTea::Key key = [] {
        // The seed, enciphered under itself, gives the key.
        static const char seed[] = "Velmora/pcd-hdr1";
        static_assert(sizeof(seed) - 1 == KoTea::keySize, "seed must be one key long");
        const KoTea::Key seed_key = KoTea::keyFromBytes(seed);
        char block[KoTea::keySize];
        std::memcpy(block, seed, KoTea::keySize);
        KoTea::encipher(block, KoTea::keySize, seed_key);
        return KoTea::keyFromBytes(block);
    }();
    return key;
}

QByteArray KoDistribution::fieldText(const char* field, int size)
{
    const void* zero = std::memchr(field, 0, size_t(size));
    const int length = zero ? int(static_cast<const char*>(zero) - field) : size;
    return QByteArray(field, length);
}
