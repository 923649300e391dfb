// Any bytes as the system unit's replies, and as the texts an operator types:
// records read only what is there and write back the bytes they read; a text
// that parses prints back to a text that parses to the same value.
#include "ack_message.h"
#include "lan_params.h"
#include "srv_params.h"
#include "text_forms.h"
#include "time_params.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

template <typename Record>
void CheckRecord(const uint8_t* data, size_t size)
{
    const size_t offset = size ? data[0] % 4 : 0;
    Record record;
    if (!record.Deserialize(data, size, offset)) {
        if (size >= offset + Record::WireSize)
            __builtin_trap(); // enough bytes were there
        return;
    }
    std::vector<uint8_t> out{0xAA};
    record.Serialize(out, true);
    if (out.size() != Record::WireSize || std::memcmp(out.data(), data + offset, out.size()) != 0)
        __builtin_trap();
}

template <typename Value, typename Parse, typename Print>
void CheckText(const std::string& text, Parse parse, Print print)
{
    Value value{};
    if (!parse(text, value))
        return;
    Value again{};
    if (!parse(print(value), again) || again != value)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckRecord<cntsys::LANParams>(data, size);
    CheckRecord<cntsys::SrvParams>(data, size);
    CheckRecord<cntsys::TimeParams>(data, size);
    CheckRecord<cntsys::AckMessage>(data, size);

    cntsys::TimeParams time;
    if (time.Deserialize(data, size, 0))
        (void)time.ToUnitDateTime();

    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckText<uint32_t>(text, cntsys::TextToIp, cntsys::IpToText);
    CheckText<uint16_t>(text, cntsys::TextToPort, cntsys::PortToText);
    CheckText<int16_t>(text, cntsys::TextToTimeZone, cntsys::TimeZoneToText);
    return 0;
}
