#pragma once

#include "ko_device_records.h"

#include <QByteArray>
#include <QStringList>

// Builds the bodies (type code first, unframed) of every message the tool
// sends to the device, and the frame of the software update, which is
// assembled from three pieces.
class KoMessageEncoder
{
public:
    static QByteArray MountData(int pass_id, const ClientOptions& options);        // 3
    static QByteArray UserParams(int pass_id, const KoUserParams& params);         // 4
    static QByteArray StatRequest(int pass_id, const KoStatisticsData& data_start, // 6
                                  const KoStatisticsData& data_end, STATISTICS_TYPE stype,
                                  STATISTICS_ID sid);
    static QByteArray StartRecord(int pass_id, int frames);              // 9, 0
    static QByteArray StopRecord(int pass_id);                           // 9, 1
    static QByteArray CameraNums(int pass_id, const KoCameraNums& nums); // 11
    static QByteArray ConnectedRequest();                                // 13
    static QByteArray SwUpdate(const QByteArray& sw);                    // 17 (body)
    static QByteArray ModemSettings(const QStringList& settings);        // 19
    static QByteArray ServerIpSettings(const QStringList& settings);     // 21
    static QByteArray Reboot();                                          // 39
    static QByteArray ViewMode(int pass_id, int mode);                   // 42

    // Message 17 framed from its head (mode 1), the image escaped inline and
    // the checksum (mode 2), all in one array ready to be written at once.
    static QByteArray SwUpdateFrame(const QByteArray& sw);
    // Sum of the bytes as signed 8-bit values in a wrapping signed 32-bit sum.
    static int32_t SwChecksum(const QByteArray& sw);

    // A real number in thousandths, truncated toward zero.
    static int32_t ToMilli(double value);
};
