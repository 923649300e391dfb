#pragma once

#include "cnt_obj.h"

namespace cntsys {

// The unit's answer to a set request; status 0 means accepted.
class AckMessage : public CntObj
{
public:
    static constexpr size_t WireSize = 1;

    uint8_t status = 0;

    bool Serialize(std::vector<uint8_t>& out, bool clear) const override;
    bool Deserialize(const uint8_t* data, size_t size, size_t offset) override;
};

} // namespace cntsys
