#include "lan_params.h"

namespace cntsys {

bool LANParams::Serialize(std::vector<uint8_t>& out, bool clear) const
{
    if (clear)
        out.clear();
    AppendBigEndian(out, ip, 4);
    AppendBigEndian(out, mask, 4);
    AppendBigEndian(out, gate, 4);
    AppendBigEndian(out, dns, 4);
    AppendBigEndian(out, port, 2);
    return true;
}

bool LANParams::Deserialize(const uint8_t* data, size_t size, size_t offset)
{
    if (!Available(data, size, offset, WireSize))
        return false;
    const uint8_t* p = data + offset;
    ip = static_cast<uint32_t>(ReadBigEndian(p, 4));
    mask = static_cast<uint32_t>(ReadBigEndian(p + 4, 4));
    gate = static_cast<uint32_t>(ReadBigEndian(p + 8, 4));
    dns = static_cast<uint32_t>(ReadBigEndian(p + 12, 4));
    port = static_cast<uint16_t>(ReadBigEndian(p + 16, 2));
    return true;
}

} // namespace cntsys
