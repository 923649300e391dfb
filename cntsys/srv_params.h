#pragma once

#include "cnt_obj.h"

namespace cntsys {

// The address of the server the unit reports to.
class SrvParams : public CntObj
{
public:
    static constexpr size_t WireSize = 6;

    uint32_t ip = 0;
    uint16_t port = 0;

    // ip (4 bytes), then port (2 bytes).
    bool Serialize(std::vector<uint8_t>& out, bool clear) const override;
    bool Deserialize(const uint8_t* data, size_t size, size_t offset) override;
};

} // namespace cntsys
