#pragma once

#include "ko_distribution.h"

#include <QString>

// Builds distribution files that KoDistributionReader accepts: records, member
// headers with their CRCs, and the data laid out in record order, each padded
// to whole cipher blocks. Enciphered members get a fresh random data key each.
class KoDistributionWriter
{
public:
    void setFormatFlag(quint8 flag) { formatFlag = flag; }
    void setHeaderValue(quint64 value) { headerValue = value; }
    // Each of these refuses, with a reason in error, what the format cannot hold.
    bool setDescription(const QByteArray& text, QString* error = nullptr);
    bool addGroup(const KoDistributionGroup& group, QString* error = nullptr);
    // number < 0 numbers the member by its position.
    bool addMember(const QByteArray& name, const QByteArray& data,
                   KoDistribution::HeaderMode mode = KoDistribution::modeClear, quint16 kind = 0,
                   qint32 number = -1, QString* error = nullptr);

    int memberCount() const { return entries.size(); }

    QByteArray toByteArray() const;
    // Writes through a temporary file, so a failure leaves any old file as it was.
    bool write(const QString& path, QString* error = nullptr) const;

private:
    struct Entry
    {
        KoDistributionMember member;
        QByteArray data;
    };

    quint8 formatFlag = 0;
    quint64 headerValue = 0;
    QByteArray description;
    QVector<KoDistributionGroup> groups;
    QVector<Entry> entries;
};
