#pragma once

#include "ko_distribution.h"

#include <QString>

class QIODevice;

// Reads distribution files. A distribution is taken whole or not at all: any
// fault (wrong magic, a count, offset or size reaching beyond the file, an
// unknown header mode, one CRC mismatch) refuses the file. Nothing is
// allocated beyond what the file actually holds, whatever its records claim.
//
// The reasons given in error are for logs and for pcdtool; the operator only
// ever sees that the distribution is not correct.
class KoDistributionReader
{
public:
    static bool read(const QString& path, KoDistribution* distribution, QString* error = nullptr);
    // device: open for reading and random access (a file or a buffer).
    static bool read(QIODevice* device, KoDistribution* distribution, QString* error = nullptr);

    // Fetches one member's data by its data offset, deciphered, without the
    // padding, and checked again against the member's CRC, since the file may
    // have changed since it was read.
    static bool readMemberData(const QString& path, const KoDistributionMember& member,
                               QByteArray* data, QString* error = nullptr);
    static bool readMemberData(QIODevice* device, const KoDistributionMember& member,
                               QByteArray* data, QString* error = nullptr);
};
