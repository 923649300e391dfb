#include "ko_distribution_reader.h"

#include <QFile>
#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Multiple of the cipher block, so a chunk deciphers on its own.
constexpr qint64 chunkSize = 64 * 1024;
static_assert(chunkSize % KoTea::blockSize == 0, "chunks must hold whole blocks");

bool fail(QString* error, const QString& reason)
{
    if (error) {
        *error = reason;
    }
    return false;
}

bool readExact(QIODevice* device, char* data, qint64 size)
{
    while (size > 0) {
        const qint64 n = device->read(data, size);
        if (n <= 0) {
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

QString memberLabel(int index, const KoDistributionMember& member)
{
    return QStringLiteral("member %1 \"%2\"").arg(index).arg(QString::fromUtf8(member.name));
}

KoDistributionMember parseMemberRecord(const char* record)
{
    KoDistributionMember member;
    const char* p = record;
    member.number = qFromLittleEndian<qint32>(p);
    p += 4;
    member.kind = qFromLittleEndian<quint16>(p);
    p += 2;
    member.name = KoDistribution::fieldText(p, KoDistribution::nameSize);
    p += KoDistribution::nameSize;
    member.dataOffset = qFromLittleEndian<quint64>(p);
    p += 8;
    member.dataSize = qFromLittleEndian<quint32>(p);
    p += 4;
    member.headerMode = quint8(*p);
    p += 1;
    member.header = QByteArray(p, KoDistribution::memberHeaderSize);
    return member;
}

// Deciphers the member header and takes the data key and CRC from it.
bool openMemberHeader(KoDistributionMember* member)
{
    char* header = member->header.data();
    switch (member->headerMode) {
    case KoDistribution::modeClear:
        member->dataKey = {};
        break;
    case KoDistribution::modeEnciphered:
        KoTea::decipher(header, KoDistribution::memberHeaderSize, KoDistribution::headerKey());
        member->dataKey = KoTea::keyFromBytes(header + KoDistribution::headerDataKeyOffset);
        break;
    default:
        return false;
    }
    member->crc = qFromLittleEndian<quint32>(header + KoDistribution::headerCrcOffset);
    return true;
}

void decipherData(const KoDistributionMember& member, char* data, qint64 size)
{
    if (member.headerMode == KoDistribution::modeEnciphered) {
        KoTea::decipher(data, size, member.dataKey);
    }
}

// Checks the CRC of the member whose padded data begin at the device's
// position, reading them through chunk (chunkSize bytes).
bool checkMemberCrc(QIODevice* device, const KoDistributionMember& member, char* chunk)
{
    quint64 left = KoDistribution::paddedSize(member.dataSize);
    quint64 counted_left = member.dataSize;
    quint32 crc = 0;
    while (left > 0) {
        const qint64 n = qint64(std::min<quint64>(left, chunkSize));
        if (!readExact(device, chunk, n)) {
            return false;
        }
        decipherData(member, chunk, n);
        const qint64 counted = qint64(std::min<quint64>(counted_left, quint64(n)));
        crc = KoDistribution::crc32(chunk, counted, crc);
        left -= quint64(n);
        counted_left -= quint64(counted);
    }
    return crc == member.crc;
}

} // namespace

bool KoDistributionReader::read(const QString& path, KoDistribution* distribution, QString* error)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return fail(error, QStringLiteral("cannot open the file"));
    }
    return read(&file, distribution, error);
}

bool KoDistributionReader::read(QIODevice* device, KoDistribution* distribution, QString* error)
{
    if (!device->isOpen() || device->isSequential() || !device->seek(0)) {
        return fail(error, QStringLiteral("not a readable file"));
    }
    const qint64 file_size = device->size();

    char head[KoDistribution::fixedHeaderSize];
    if (!readExact(device, head, sizeof head)) {
        return fail(error, QStringLiteral("shorter than the distribution header"));
    }
    if (std::memcmp(head, KoDistribution::magic, KoDistribution::magicSize) != 0) {
        return fail(error, QStringLiteral("not a distribution (wrong magic)"));
    }
    KoDistribution result;
    const char* p = head + KoDistribution::magicSize;
    result.formatFlag = quint8(*p);
    p += 1;
    result.description = KoDistribution::fieldText(p, KoDistribution::descriptionSize);
    p += KoDistribution::descriptionSize;
    result.headerValue = qFromLittleEndian<quint64>(p);
    p += 8;
    const int group_count = quint8(*p);
    p += 1;
    const int member_count = qFromLittleEndian<qint16>(p);
    if (member_count < 0) {
        return fail(error, QStringLiteral("negative member count %1").arg(member_count));
    }
    const qint64 data_start = KoDistribution::dataStart(group_count, member_count);
    if (data_start > file_size) {
        return fail(error,
                    QStringLiteral("%1 groups and %2 members reach beyond the end of the file")
                        .arg(group_count)
                        .arg(member_count));
    }

    // The records are known to be in the file now, so their size is bounded by it.
    QByteArray records(int(data_start - KoDistribution::fixedHeaderSize), Qt::Uninitialized);
    if (!readExact(device, records.data(), records.size())) {
        return fail(error, QStringLiteral("cannot read the records"));
    }
    const char* record = records.constData();
    result.groups.reserve(group_count);
    for (int i = 0; i < group_count; ++i, record += KoDistribution::groupRecordSize) {
        KoDistributionGroup group;
        group.name = KoDistribution::fieldText(record, KoDistribution::nameSize);
        group.value1 = qFromLittleEndian<quint16>(record + KoDistribution::nameSize);
        group.value2 = qFromLittleEndian<quint16>(record + KoDistribution::nameSize + 2);
        result.groups.append(group);
    }

    // Every member's data must stand where its record says, in record order,
    // inside the file: the CRCs checked below are then those of the very
    // bytes that are later sent.
    result.members.reserve(member_count);
    quint64 expected_offset = quint64(data_start);
    for (int i = 0; i < member_count; ++i, record += KoDistribution::memberRecordSize) {
        KoDistributionMember member = parseMemberRecord(record);
        if (!openMemberHeader(&member)) {
            return fail(error, QStringLiteral("%1: unknown header mode %2")
                                   .arg(memberLabel(i, member))
                                   .arg(member.headerMode));
        }
        if (member.dataSize > KoDistribution::maxMemberDataSize) {
            return fail(error, QStringLiteral("%1: data size %2 is too large")
                                   .arg(memberLabel(i, member))
                                   .arg(member.dataSize));
        }
        if (member.dataOffset != expected_offset) {
            return fail(error, QStringLiteral("%1: data offset %2, expected %3")
                                   .arg(memberLabel(i, member))
                                   .arg(member.dataOffset)
                                   .arg(expected_offset));
        }
        const quint64 padded = KoDistribution::paddedSize(member.dataSize);
        if (padded > quint64(file_size) - expected_offset) {
            return fail(error, QStringLiteral("%1: data reach beyond the end of the file")
                                   .arg(memberLabel(i, member)));
        }
        expected_offset += padded;
        result.members.append(member);
    }

    if (!device->seek(data_start)) {
        return fail(error, QStringLiteral("cannot read the member data"));
    }
    QByteArray chunk(int(chunkSize), Qt::Uninitialized);
    for (int i = 0; i < result.members.size(); ++i) {
        if (!checkMemberCrc(device, result.members[i], chunk.data())) {
            return fail(error,
                        QStringLiteral("%1: CRC mismatch").arg(memberLabel(i, result.members[i])));
        }
    }
    *distribution = std::move(result);
    return true;
}

bool KoDistributionReader::readMemberData(const QString& path, const KoDistributionMember& member,
                                          QByteArray* data, QString* error)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return fail(error, QStringLiteral("cannot open the file"));
    }
    return readMemberData(&file, member, data, error);
}

bool KoDistributionReader::readMemberData(QIODevice* device, const KoDistributionMember& member,
                                          QByteArray* data, QString* error)
{
    if (!device->isOpen() || device->isSequential()) {
        return fail(error, QStringLiteral("not a readable file"));
    }
    const quint64 file_size = quint64(device->size());
    const quint64 padded = KoDistribution::paddedSize(member.dataSize);
    if (member.dataSize > KoDistribution::maxMemberDataSize || member.dataOffset > file_size ||
        padded > file_size - member.dataOffset) {
        return fail(error, QStringLiteral("member data reach beyond the end of the file"));
    }
    if (!device->seek(qint64(member.dataOffset))) {
        return fail(error, QStringLiteral("cannot read the member data"));
    }
    QByteArray bytes(int(padded), Qt::Uninitialized);
    if (!readExact(device, bytes.data(), bytes.size())) {
        return fail(error, QStringLiteral("cannot read the member data"));
    }
    decipherData(member, bytes.data(), bytes.size());
    bytes.truncate(int(member.dataSize));
    if (KoDistribution::crc32(bytes) != member.crc) {
        return fail(error, QStringLiteral("CRC mismatch"));
    }
    *data = std::move(bytes);
    return true;
}
