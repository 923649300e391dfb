#pragma once

// A software distribution (".pcd"): a container of named configurations, one
// of which the operator sends to the device. The byte layout is described in
// docs/distribution-format.md; KoDistributionReader and KoDistributionWriter
// are its only readers and writers.

#include "ko_tea.h"

#include <QByteArray>
#include <QVector>

// A group record: read and kept, not interpreted by the tool.
struct KoDistributionGroup
{
    QByteArray name; // without the zero terminator
    quint16 value1 = 0;
    quint16 value2 = 0;
};

// A member record, with what is needed to fetch and decipher its data.
struct KoDistributionMember
{
    qint32 number = 0;
    quint16 kind = 0;
    QByteArray name;        // without the zero terminator; UTF-8 when shown
    quint64 dataOffset = 0; // from the start of the file
    quint32 dataSize = 0;   // without the padding
    quint8 headerMode = 0;
    QByteArray header;       // the member header, deciphered (memberHeaderSize bytes)
    KoTea::Key dataKey = {}; // used when headerMode is KoDistribution::modeEnciphered
    quint32 crc = 0;         // from the last four bytes of the header
};

class KoDistribution
{
public:
    // How a member's header and data are stored.
    enum HeaderMode : quint8
    {
        modeClear = 0,
        modeEnciphered = 1,
    };

    static constexpr char magic[] = "DORVEK-N";
    static constexpr int magicSize = 8;
    static constexpr int descriptionSize = 64;
    static constexpr int nameSize = 32;
    // magic, format flag, description, header value, G, F
    static constexpr int fixedHeaderSize = magicSize + 1 + descriptionSize + 8 + 1 + 2;
    static constexpr int groupRecordSize = nameSize + 2 + 2;
    static constexpr int memberHeaderSize = 128;
    static constexpr int memberRecordSize = 4 + 2 + nameSize + 8 + 4 + 1 + memberHeaderSize;
    // Where the data key and the CRC-32 sit inside a deciphered member header.
    static constexpr int headerDataKeyOffset = 0;
    static constexpr int headerCrcOffset = memberHeaderSize - 4;
    static constexpr int maxGroupCount = 255;
    static constexpr int maxMemberCount = 32767;
    // Far more than any device takes, and well inside what one QByteArray can
    // hold when the chosen member is sent.
    static constexpr quint32 maxMemberDataSize = 1u << 30;

    quint8 formatFlag = 0;
    QByteArray description; // without the zero terminator
    quint64 headerValue = 0;
    QVector<KoDistributionGroup> groups;
    QVector<KoDistributionMember> members;

    // Offset of the first member's data in a file with these many records.
    static qint64 dataStart(int group_count, int member_count);
    // A member's data are stored padded to a multiple of the cipher's block.
    static quint64 paddedSize(quint64 size) { return (size + 7) & ~quint64(7); }

    // CRC-32 as zlib computes it; crc carries a running value across calls.
    static quint32 crc32(const char* data, qint64 size, quint32 crc = 0);
    static quint32 crc32(const QByteArray& data) { return crc32(data.constData(), data.size()); }

    // The key of enciphered member headers. It is derived when first needed,
    // so the key itself never stands in the program's data.
    static const KoTea::Key& headerKey();

    // The text in a fixed-size field: everything before the first zero byte.
    static QByteArray fieldText(const char* field, int size);
};
