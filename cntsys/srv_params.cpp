#include "srv_params.h"

namespace cntsys {

bool SrvParams::Serialize(std::vector<uint8_t>& out, bool clear) const
{
    if (clear)
        out.clear();
    AppendBigEndian(out, ip, 4);
    AppendBigEndian(out, port, 2);
    return true;
}

bool SrvParams::Deserialize(const uint8_t* data, size_t size, size_t offset)
{
    if (!Available(data, size, offset, WireSize))
        return false;
    ip = static_cast<uint32_t>(ReadBigEndian(data + offset, 4));
    port = static_cast<uint16_t>(ReadBigEndian(data + offset + 4, 2));
    return true;
}

} // namespace cntsys
