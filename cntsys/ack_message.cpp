#include "ack_message.h"

namespace cntsys {

bool AckMessage::Serialize(std::vector<uint8_t>& out, bool clear) const
{
    if (clear)
        out.clear();
    out.push_back(status);
    return true;
}

bool AckMessage::Deserialize(const uint8_t* data, size_t size, size_t offset)
{
    if (!Available(data, size, offset, WireSize))
        return false;
    status = data[offset];
    return true;
}

} // namespace cntsys
