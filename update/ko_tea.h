#pragma once

#include <QtGlobal>

#include <array>

// The Tiny Encryption Algorithm: 64-bit blocks, a 128-bit key, 32 cycles.
// Distribution files store blocks and keys as little-endian 32-bit words.
class KoTea
{
public:
    using Key = std::array<quint32, 4>;

    static constexpr int blockSize = 8;
    static constexpr int keySize = 16;

    static void encipherBlock(quint32* v, const Key& key);
    static void decipherBlock(quint32* v, const Key& key);

    // Work on a buffer in place, block by block (electronic code book). The
    // size must be a multiple of blockSize; otherwise nothing is touched and
    // false comes back.
    static bool encipher(char* data, qint64 size, const Key& key);
    static bool decipher(char* data, qint64 size, const Key& key);

    static Key keyFromBytes(const char* bytes);
    static void keyToBytes(const Key& key, char* bytes);
};
