#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>

// A configuration profile: everything the tool knows of one device, to be
// written to a file and applied to another device of the same kind. Read as
// untrusted input: the size is bounded, every field is checked, and a file
// that is not whole and sound is refused as a whole (docs/fleet-files.md
// describes the form). Values that are well formed but outside what the
// dialogs accept are kept, and the Check functions say why their section
// cannot be applied.
class KoConfigProfile
{
    Q_DECLARE_TR_FUNCTIONS(KoConfigProfile)

public:
    static constexpr int FormatVersion = 1;
    static constexpr qint64 MaxFileBytes = 1024 * 1024;
    static constexpr int MaxLinePoints = 64;
    static constexpr int MaxText = 256;
    static const char* const FormatName;

    struct Door
    {
        int pass = 0; // 0 to 3
        bool hasLine = false;
        KoUserParams line; // counting line and zone, in whole thousandths
        bool hasMount = false;
        ClientOptions mount; // the view angle is never kept: the dialog sends 0
        bool hasCameras = false;
        KoCameraNums cameras;
    };

    // The device the profile was saved from.
    QString sourceName;
    QString sourceVehicle;
    QString sourceHost;
    quint16 sourcePort = 0;
    QDateTime saved; // UTC

    QVector<Door> doors; // by pass, at most one each
    bool hasModem = false;
    QStringList modem; // number, login, password, APN
    bool hasServer = false;
    QString server; // the address the device reports to

    QByteArray ToJson() const;
    // Replaces profile; false with the reason, profile untouched, for a file
    // that is damaged or of a newer format.
    static bool FromJson(const QByteArray& bytes, KoConfigProfile* profile, QString* error);

    // Why a section cannot be applied (what its dialog would refuse); empty
    // when it can.
    static QString CheckLine(const KoUserParams& line);
    static QString CheckMount(const ClientOptions& mount);
    static QString CheckModem(const QStringList& modem);
    static QString CheckServer(const QString& server);

    // A coordinate in the whole thousandths the device holds, the nearest
    // ones (m / 1000.0 goes out on the wire as m again).
    static int32_t Milli(double value);

    // The door of a pass, null when the profile has none.
    const Door* DoorOf(int pass) const;
};
