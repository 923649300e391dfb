#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace cntsys {

// A record of the system unit's exchange. Every number travels big-endian.
class CntObj
{
public:
    virtual ~CntObj() = default;

    // Appends the record's wire bytes to out, emptying it first when clear is set.
    virtual bool Serialize(std::vector<uint8_t>& out, bool clear) const = 0;
    // Reads the record from data[offset..size). False, with the record left
    // unspecified, when fewer bytes remain than the record needs; bytes after
    // the record are ignored.
    virtual bool Deserialize(const uint8_t* data, size_t size, size_t offset) = 0;

protected:
    // The low byte_count bytes of value, most significant first.
    static void AppendBigEndian(std::vector<uint8_t>& out, uint64_t value, int byte_count);
    static uint64_t ReadBigEndian(const uint8_t* data, int byte_count);
    // Whether byte_count bytes are there at offset, without overflowing.
    static bool Available(const uint8_t* data, size_t size, size_t offset, size_t byte_count);
};

} // namespace cntsys
