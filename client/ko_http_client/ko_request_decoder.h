#pragma once

#include "ko_device_records.h"

#include <QByteArray>
#include <QStringList>

// Decodes the bodies the tool sends (type code first): the device side of the
// link, for the simulator and the tests. Same rules as KoMessageDecoder:
// bounds checked, missing trailing fields read as zero, a count that promises
// more than the body holds drops the body.
struct KoDecodedRequest
{
    enum class Result
    {
        Decoded,
        Unknown,
        Dropped,
        Empty,
    };

    Result result = Result::Empty;
    int32_t code = 0;
    const char* payload = nullptr;
    qsizetype payloadSize = 0;

    int32_t passId = 0;                       // 3, 4, 6, 9, 11, 42
    ClientOptions options;                    // 3
    KoUserParams userParams;                  // 4
    STATISTICS_TYPE statType = STAT_INCOMING; // 6 (the raw byte; 2 asks for both)
    STATISTICS_ID statId = STAT_YEAR;         // 6
    KoStatisticsData statStart;               // 6
    KoStatisticsData statEnd;                 // 6
    int32_t recordCommand = 0;                // 9: 0 start, 1 stop
    int32_t recordFrames = 0;                 // 9, start
    KoCameraNums cameraNums;                  // 11
    QByteArray sw;                            // 17, the image
    int32_t swChecksum = 0;                   // 17, as sent
    bool swChecksumOk = false;                // 17, as sent equals as computed
    QStringList settings;                     // 19, 21
    bool rebootMagicOk = false;               // 39
    int32_t viewMode = 0;                     // 42
};

class KoRequestDecoder
{
public:
    static KoDecodedRequest::Result Decode(const char* body, qsizetype size, KoDecodedRequest& out);
    static KoDecodedRequest::Result Decode(const QByteArray& body, KoDecodedRequest& out)
    {
        return Decode(body.constData(), body.size(), out);
    }
};
