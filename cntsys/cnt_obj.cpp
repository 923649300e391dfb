#include "cnt_obj.h"

namespace cntsys {

void CntObj::AppendBigEndian(std::vector<uint8_t>& out, uint64_t value, int byte_count)
{
    for (int shift = (byte_count - 1) * 8; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint64_t CntObj::ReadBigEndian(const uint8_t* data, int byte_count)
{
    uint64_t value = 0;
    for (int i = 0; i < byte_count; ++i)
        value = (value << 8) | data[i];
    return value;
}

bool CntObj::Available(const uint8_t* data, size_t size, size_t offset, size_t byte_count)
{
    if (data == nullptr && byte_count > 0)
        return false;
    return offset <= size && size - offset >= byte_count;
}

} // namespace cntsys
