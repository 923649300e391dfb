#pragma once

// The device's messages as the decoder hands them over: plain records, one per
// kind of message, gathered in KoDecodedMessage so that their buffers (object
// list, sample vectors) are reused from one message to the next.

#include "ko_device_records.h"

#include <QStringList>

#include <cstdint>
#include <vector>

// Message 1. The data points into the body it was decoded from and is valid
// only as long as that body.
struct KoImageMessage
{
    int32_t passId = 0;
    int32_t inCount = 0;
    int32_t outCount = 0;
    int32_t rate = 0; // frames per second times 100
    int32_t frameField = 0;
    int32_t imageId = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t lineStep = 0;
    int64_t longField1 = 0;
    int64_t longField2 = 0;
    int64_t dataLength = 0;
    int32_t encoding = 0; // 1: a compressed picture file; otherwise raw pixels
    const char* data = nullptr;

    float Fps() const { return float(rate / 100.0); }
};

// Message 2.
struct KoTrackingObjectsMessage
{
    int32_t passId = 0;
    int32_t inCount = 0;
    int32_t outCount = 0;
    std::vector<KoObjectData> objects;
};

// Message 4.
struct KoUserParamsMessage
{
    int32_t passId = 0;
    KoUserParams params;
};

// Message 3.
struct KoMountDataMessage
{
    int32_t passId = 0;
    ClientOptions options;
};

// Message 5.
struct KoDispOptionsMessage
{
    int32_t passId = 0;
    KoDispConvertOptions options;
};

// Message 7.
struct KoStatisticMessage
{
    int32_t passId = 0;
    STATISTICS_TYPE statType = STAT_INCOMING;
    STATISTICS_ID statId = STAT_YEAR;
    int32_t unused = 0;
    QVector<KoStatisticsData> samples;
    QVector<KoStatisticsAlarmData> alarms;
};

// Message 8. statId is the one of the last group head.
struct KoStatisticAllMessage
{
    int32_t passId = 0;
    STATISTICS_ID statId = STAT_YEAR;
    int32_t unused1 = 0;
    int32_t unused2 = 0;
    QVector<QVector<KoStatisticsData>> groups;
    QVector<STATISTICS_TYPE> types;
};

// Message 10. kind 2: recorded, with result; kind 3: recording stopped.
struct KoRecordAnswerMessage
{
    int32_t passId = 0;
    int32_t kind = 0;
    int32_t result = 0;
};

// Message 12.
struct KoCameraNumsAnswerMessage
{
    int32_t passId = 0;
    int32_t result = 0;
    KoCameraNums nums;
};

// Messages 20 and 22.
struct KoSettingsAckMessage
{
    int32_t ack = 0;
    QStringList settings;
};

// Message 41.
struct KoFilesCountInfoMessage
{
    int32_t passId = 0;
    int32_t framesCounted = 0;
    int32_t totalFrames = 0;
    QString fileName;
};

struct KoDecodedMessage
{
    enum class Result
    {
        Decoded, // the member of this code holds the message
        Unknown, // a code the decoder does not know (the system unit's, say)
        Dropped, // the body breaks a rule of its code; nothing may be emitted
        Empty,   // the body is too short to hold a type code
    };

    Result result = Result::Empty;
    int32_t code = 0;
    // The bytes after the type code, pointing into the decoded body.
    const char* payload = nullptr;
    qsizetype payloadSize = 0;

    // Exactly one of these is filled, chosen by code, when result is Decoded.
    KoImageMessage image;                 // 1
    KoTrackingObjectsMessage tracking;    // 2
    KoMountDataMessage mountData;         // 3
    KoUserParamsMessage userParams;       // 4
    KoDispOptionsMessage dispOptions;     // 5
    KoStatisticMessage statistic;         // 7
    KoStatisticAllMessage statisticAll;   // 8
    KoRecordAnswerMessage recordAnswer;   // 10
    KoCameraNumsAnswerMessage cameraNums; // 12
    int32_t passCount = 0;                // 14
    int32_t updateAnswer = 0;             // 18
    KoSettingsAckMessage settingsAck;     // 20, 22
    KoFilesCountInfoMessage filesCount;   // 41
    // 40 carries nothing once its four bytes have been checked.
};
