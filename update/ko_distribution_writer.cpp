#include "ko_distribution_writer.h"

#include <QRandomGenerator>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

bool fail(QString* error, const QString& reason)
{
    if (error) {
        *error = reason;
    }
    return false;
}

// A text must leave room for its zero terminator and must not hold a zero itself.
bool fitsField(const QByteArray& text, int field_size)
{
    return text.size() < field_size && !text.contains('\0');
}

void putField(QByteArray* out, const QByteArray& text, int field_size)
{
    QByteArray field(field_size, '\0');
    std::memcpy(field.data(), text.constData(), size_t(text.size()));
    out->append(field);
}

template <typename T>
void putNumber(QByteArray* out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out->append(bytes, int(sizeof(T)));
}

} // namespace

bool KoDistributionWriter::setDescription(const QByteArray& text, QString* error)
{
    if (!fitsField(text, KoDistribution::descriptionSize)) {
        return fail(error, QStringLiteral("the description is longer than %1 bytes")
                               .arg(KoDistribution::descriptionSize - 1));
    }
    description = text;
    return true;
}

bool KoDistributionWriter::addGroup(const KoDistributionGroup& group, QString* error)
{
    if (groups.size() >= KoDistribution::maxGroupCount) {
        return fail(error, QStringLiteral("too many groups"));
    }
    if (!fitsField(group.name, KoDistribution::nameSize)) {
        return fail(error, QStringLiteral("group name \"%1\" is longer than %2 bytes")
                               .arg(QString::fromUtf8(group.name))
                               .arg(KoDistribution::nameSize - 1));
    }
    groups.append(group);
    return true;
}

bool KoDistributionWriter::addMember(const QByteArray& name, const QByteArray& data,
                                     KoDistribution::HeaderMode mode, quint16 kind, qint32 number,
                                     QString* error)
{
    if (entries.size() >= KoDistribution::maxMemberCount) {
        return fail(error, QStringLiteral("too many members"));
    }
    if (!fitsField(name, KoDistribution::nameSize)) {
        return fail(error, QStringLiteral("member name \"%1\" is longer than %2 bytes")
                               .arg(QString::fromUtf8(name))
                               .arg(KoDistribution::nameSize - 1));
    }
    if (quint64(data.size()) > KoDistribution::maxMemberDataSize) {
        return fail(error,
                    QStringLiteral("member \"%1\" is too large").arg(QString::fromUtf8(name)));
    }
    Entry entry;
    entry.member.number = number < 0 ? entries.size() : number;
    entry.member.kind = kind;
    entry.member.name = name;
    entry.member.dataSize = quint32(data.size());
    entry.member.headerMode = mode;
    entry.member.crc = KoDistribution::crc32(data);
    if (mode == KoDistribution::modeEnciphered) {
        QRandomGenerator::system()->generate(entry.member.dataKey.begin(),
                                             entry.member.dataKey.end());
    }
    entry.data = data;
    entries.append(entry);
    return true;
}

QByteArray KoDistributionWriter::toByteArray() const
{
    QByteArray out;
    out.append(KoDistribution::magic, KoDistribution::magicSize);
    putNumber<quint8>(&out, formatFlag);
    putField(&out, description, KoDistribution::descriptionSize);
    putNumber<quint64>(&out, headerValue);
    putNumber<quint8>(&out, quint8(groups.size()));
    putNumber<qint16>(&out, qint16(entries.size()));
    for (const KoDistributionGroup& group : groups) {
        putField(&out, group.name, KoDistribution::nameSize);
        putNumber<quint16>(&out, group.value1);
        putNumber<quint16>(&out, group.value2);
    }

    quint64 offset = quint64(KoDistribution::dataStart(groups.size(), entries.size()));
    for (const Entry& entry : entries) {
        const KoDistributionMember& member = entry.member;
        putNumber<qint32>(&out, member.number);
        putNumber<quint16>(&out, member.kind);
        putField(&out, member.name, KoDistribution::nameSize);
        putNumber<quint64>(&out, offset);
        putNumber<quint32>(&out, member.dataSize);
        putNumber<quint8>(&out, member.headerMode);

        char header[KoDistribution::memberHeaderSize] = {};
        qToLittleEndian(member.crc, header + KoDistribution::headerCrcOffset);
        if (member.headerMode == KoDistribution::modeEnciphered) {
            KoTea::keyToBytes(member.dataKey, header + KoDistribution::headerDataKeyOffset);
            KoTea::encipher(header, sizeof header, KoDistribution::headerKey());
        }
        out.append(header, int(sizeof header));
        offset += KoDistribution::paddedSize(member.dataSize);
    }

    for (const Entry& entry : entries) {
        QByteArray padded = entry.data;
        padded.append(
            int(KoDistribution::paddedSize(entry.member.dataSize) - entry.member.dataSize), '\0');
        if (entry.member.headerMode == KoDistribution::modeEnciphered) {
            KoTea::encipher(padded.data(), padded.size(), entry.member.dataKey);
        }
        out.append(padded);
    }
    return out;
}

bool KoDistributionWriter::write(const QString& path, QString* error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(error, file.errorString());
    }
    const QByteArray bytes = toByteArray();
    // Flushed before commit(), which in Qt 5 does not see a failed final
    // flush and would put a cut file in place.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        return fail(error, file.errorString());
    }
    return true;
}
