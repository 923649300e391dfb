#pragma once

// Constants of the device link's framing and its message catalogue.

#include <cstdint>

namespace ko_wire {

constexpr uint8_t StartByte = 0xAA;
constexpr uint8_t EndByte = 0xAB;
constexpr uint8_t EscapeByte = 0xA0;

// What follows the escape byte for each of the three special bytes.
constexpr uint8_t EscapedEscape = 0x00;
constexpr uint8_t EscapedStart = 0x0A;
constexpr uint8_t EscapedEnd = 0x0B;

// The largest unescaped frame body the parser keeps; a longer frame is dropped.
constexpr int64_t MaxFrameBody = 64LL * 1024 * 1024;

// The type codes that head every body (i32, big-endian).
enum Code : int32_t
{
    Image = 1,
    TrackedObjects = 2,
    MountData = 3,
    UserParams = 4,
    DispOptions = 5,
    StatRequest = 6,
    Statistic = 7,
    StatisticAll = 8,
    RecordCommand = 9,
    RecordAnswer = 10,
    CameraNums = 11,
    CameraNumsAnswer = 12,
    ConnectedRequest = 13,
    ConnectedAnswer = 14,
    SwUpdate = 17,
    UpdateFinished = 18,
    ModemSettings = 19,
    ModemSettingsAck = 20,
    ServerIpSettings = 21,
    IpServerAck = 22,
    Reboot = 39,
    RebootAck = 40,
    FilesCountInfo = 41,
    ViewMode = 42,
};

// Sub-commands of message 9 and answer kinds of message 10.
constexpr int32_t RecordStart = 0;
constexpr int32_t RecordStop = 1;
constexpr int32_t RecordAnswerRecorded = 2;
constexpr int32_t RecordAnswerStopped = 3;

// Message 1: the header after the type code, and the encoding value of a
// compressed picture file.
constexpr int64_t ImageHeaderSize = 64;
constexpr int32_t ImageEncodingCompressed = 1;

// The four bytes of the reboot request and of its acknowledgement.
constexpr uint8_t RebootMagic[4] = {0xA1, 0xB1, 0xC1, 0xD1};

// The answer of message 18 that means the update was installed.
constexpr int32_t UpdateInstalled = 100;

} // namespace ko_wire
