#pragma once

// The plain value records that travel between the device and the tool. They
// are not registered as meta-types: the link hands them across threads only
// through blocking connections, by reference.

#include <QPointF>
#include <QRectF>
#include <QString>
#include <QVector>

#include <cstdint>

// Mount and algorithm parameters of one pass, in wire order.
struct ClientOptions
{
    int32_t camMountHeight = 0;      // cm
    int32_t camViewAngle = 0;        // degrees; the options editor always sends 0
    int32_t camAngleSlope = 0;       // degrees
    int32_t minObjectHeight = 0;     // cm
    int32_t minHeadSquare = 0;       // pixels
    int32_t maxHumanVelocity = 0;    // km/h
    int32_t headSize = 0;            // tenths of a centimetre
    int32_t minTrackLenght = 0;      // frames
    int32_t minLostObjectFrames = 0; // frames
    int32_t etalonHeight = 0;        // cm
};

// The counting line and zone of one pass, normalised to the image (0..1).
struct KoUserParams
{
    int32_t count = 0; // number of points in line whenever sent or emitted
    QVector<QPointF> line;
    QRectF zone;
};

// Identifiers of the two cameras of a pass's stereo head.
struct KoCameraNums
{
    int32_t left = 0;
    int32_t right = 0;
};

// Display-conversion options the device reports for a pass; stored, not interpreted.
struct KoDispConvertOptions
{
    float value1 = 0;
    float value2 = 0;
    float value3 = 0;
    float value4 = 0;
    int32_t value5 = 0;
};

// One object tracked by the device in the current frame of a pass.
struct KoObjectData
{
    int32_t id = 0;
    int64_t stamp = 0;
    int32_t aux1 = 0;
    int32_t aux2 = 0;
    int32_t aux3 = 0;
    int32_t aux4 = 0;
    int32_t x = 0; // head position in image pixels
    int32_t y = 0;
    int32_t state = 0; // 0 not shown, 2 counted in, 4 counted out
    int32_t aux5 = 0;
    int32_t aux6 = 0;
    int32_t trackLength = 0;
};

// One statistics sample or request stamp, UTC. Eight bytes in memory, which is
// exactly how the device's replies carry it (the count little-endian).
#pragma pack(push, 1)
struct KoStatisticsData
{
    uint8_t year = 0;  // year - 2000
    uint8_t month = 0; // 1..12
    uint8_t day = 0;   // 1..31
    uint8_t hour = 0;  // 0..23
    int32_t count = 0;
};
#pragma pack(pop)
static_assert(sizeof(KoStatisticsData) == 8, "a statistics sample is eight bytes on the wire");

// One device event reported with a statistics reply.
struct KoStatisticsAlarmData
{
    int64_t time = 0; // seconds since 1970-01-01 UTC
    int32_t code = 0;
    double value1 = 0;
    double value2 = 0;
};

// Granularity of a statistics period.
enum STATISTICS_ID : int32_t
{
    STAT_YEAR = 0,  // one sample per month
    STAT_MONTH = 1, // one sample per day
    STAT_DAY = 2    // one sample per hour
};

// Counting direction of statistics. The report page sends 2 to ask for both.
enum STATISTICS_TYPE : int32_t
{
    STAT_INCOMING = 0,
    STAT_OUTCOMING = 1
};

// The connection target chosen by the operator; never sent to the device.
struct KoNetworkOptions
{
    QString hostName;
    quint16 port = 0;
};
