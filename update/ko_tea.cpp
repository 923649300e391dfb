#include "ko_tea.h"

#include <QtEndian>

namespace {

constexpr quint32 delta = 0x9E3779B9u;
constexpr int cycles = 32;

template <typename BlockOp>
bool forEachBlock(char* data, qint64 size, const KoTea::Key& key, BlockOp op)
{
    if (size < 0 || size % KoTea::blockSize != 0) {
        return false;
    }
    for (qint64 pos = 0; pos < size; pos += KoTea::blockSize) {
        char* block = data + pos;
        quint32 v[2] = {qFromLittleEndian<quint32>(block), qFromLittleEndian<quint32>(block + 4)};
        op(v, key);
        qToLittleEndian(v[0], block);
        qToLittleEndian(v[1], block + 4);
    }
    return true;
}

} // namespace

void KoTea::encipherBlock(quint32* v, const Key& key)
{
    quint32 v0 = v[0];
    quint32 v1 = v[1];
    quint32 sum = 0;
    for (int i = 0; i < cycles; ++i) {
        sum += delta;
        v0 += ((v1 << 4) + key[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key[1]);
        v1 += ((v0 << 4) + key[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key[3]);
    }
    v[0] = v0;
    v[1] = v1;
}

void KoTea::decipherBlock(quint32* v, const Key& key)
{
    quint32 v0 = v[0];
    quint32 v1 = v[1];
    quint32 sum = delta * cycles; // 0xC6EF3720
    for (int i = 0; i < cycles; ++i) {
        v1 -= ((v0 << 4) + key[2]) ^ (v0 + sum) ^ ((v0 >> 5) + key[3]);
        v0 -= ((v1 << 4) + key[0]) ^ (v1 + sum) ^ ((v1 >> 5) + key[1]);
        sum -= delta;
    }
    v[0] = v0;
    v[1] = v1;
}

bool KoTea::encipher(char* data, qint64 size, const Key& key)
{
    return forEachBlock(data, size, key, &KoTea::encipherBlock);
}

bool KoTea::decipher(char* data, qint64 size, const Key& key)
{
    return forEachBlock(data, size, key, &KoTea::decipherBlock);
}

KoTea::Key KoTea::keyFromBytes(const char* bytes)
{
    Key key;
    for (int i = 0; i < 4; ++i) {
        key[i] = qFromLittleEndian<quint32>(bytes + 4 * i);
    }
    return key;
}

void KoTea::keyToBytes(const Key& key, char* bytes)
{
    for (int i = 0; i < 4; ++i) {
        qToLittleEndian(key[i], bytes + 4 * i);
    }
}
