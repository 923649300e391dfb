// Any bytes as a distribution file: the reader takes the file whole or refuses
// it, and every member it accepts can be fetched again with its CRC intact.
#include "ko_distribution_reader.h"

#include <QBuffer>
#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    KoDistribution distribution;
    if (!KoDistributionReader::read(&buffer, &distribution))
        return 0;
    for (const KoDistributionMember& member : distribution.members) {
        QByteArray member_data;
        if (!KoDistributionReader::readMemberData(&buffer, member, &member_data))
            __builtin_trap(); // accepted at opening, so it must be fetchable
        if (quint64(member_data.size()) > size)
            __builtin_trap();
    }
    return 0;
}
