#pragma once

#include "ko_device_records.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

// Builds the bodies (type code first, unframed) of the messages the device
// sends: what the device simulator and the tests put on the wire.
class KoDeviceEncoder
{
public:
    struct ImageHeader
    {
        int32_t passId = 0;
        int32_t inCount = 0;
        int32_t outCount = 0;
        int32_t rate = 0; // fps times 100
        int32_t frameField = 0;
        int32_t imageId = 0;
        int32_t width = 0;
        int32_t height = 0;
        int32_t lineStep = 0;
        int64_t longField1 = 0;
        int64_t longField2 = 0;
        int32_t encoding = 0; // 1: compressed file
    };

    // The data length field is the size of data.
    static QByteArray Image(const ImageHeader& header, const QByteArray& data); // 1
    static QByteArray TrackedObjects(int pass_id, const std::vector<KoObjectData>& objects,
                                     int in_count, int out_count);          // 2
    static QByteArray MountData(int pass_id, const ClientOptions& options); // 3
    static QByteArray UserParams(int pass_id, const KoUserParams& params);  // 4
    // value3 and value4 travel in thousandths.
    static QByteArray DispOptions(int pass_id, const KoDispConvertOptions& options); // 5
    static QByteArray Statistic(int pass_id, STATISTICS_TYPE stype, STATISTICS_ID sid,
                                const QVector<KoStatisticsData>& samples,
                                const QVector<KoStatisticsAlarmData>& alarms,
                                int32_t unused = 0); // 7
    static QByteArray StatisticAll(int pass_id, const QVector<QVector<KoStatisticsData>>& groups,
                                   const QVector<STATISTICS_TYPE>& types,
                                   const QVector<STATISTICS_ID>& ids, int32_t unused1 = 0,
                                   int32_t unused2 = 0);                                   // 8
    static QByteArray Recorded(int pass_id, int result);                                   // 10, 2
    static QByteArray RecordStopped(int pass_id);                                          // 10, 3
    static QByteArray CameraNumsAnswer(int pass_id, int result, const KoCameraNums& nums); // 12
    static QByteArray ConnectedAnswer(int pass_count);                                     // 14
    static QByteArray UpdateFinished(int answer);                                          // 18
    static QByteArray ModemSettingsAck(int ack, const QStringList& settings);              // 20
    static QByteArray IpServerAck(int ack, const QStringList& settings);                   // 22
    static QByteArray RebootAck();                                                         // 40
    static QByteArray FilesCountInfo(int pass_id, int frames_counted, int total_frames,
                                     const QString& file_name); // 41
};
