#pragma once

#include "cnt_obj.h"

namespace cntsys {

// The unit's LAN settings. Addresses hold the first octet in their top byte.
class LANParams : public CntObj
{
public:
    static constexpr size_t WireSize = 18;

    uint32_t ip = 0;
    uint16_t port = 0;
    uint32_t mask = 0;
    uint32_t gate = 0;
    uint32_t dns = 0;

    // ip, mask, gate, dns (4 bytes each), then port (2 bytes).
    bool Serialize(std::vector<uint8_t>& out, bool clear) const override;
    bool Deserialize(const uint8_t* data, size_t size, size_t offset) override;
};

} // namespace cntsys
