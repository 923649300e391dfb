#pragma once

#include "ko_body_writer.h"
#include "ko_device_encoder.h"
#include "ko_frame_parser.h"

#include <QByteArray>
#include <QList>
#include <QPair>

// Feeds bytes to the parser and appends the body of every frame they
// complete; a frame left open waits for the next call.
inline void AppendFrameBodies(KoFrameParser& parser, const QByteArray& data,
                              QList<QByteArray>& bodies)
{
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const qsizetype used = parser.Feed(p, left);
        p += used;
        left -= used;
        if (parser.HasFrame()) {
            bodies.append(QByteArray(parser.BodyData(), int(parser.BodySize())));
            parser.ReleaseFrame();
        }
    }
}

inline QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

inline QByteArray I32(int32_t v)
{
    QByteArray out;
    KoBodyWriter(out).I32(v);
    return out;
}

// Device messages the decoder drops, by name: the protocol suite decodes each,
// the link suite streams them all before good ones, which must still come.
inline QList<QPair<const char*, QByteArray>> RefusedBodies()
{
    KoUserParams two;
    two.line = {QPointF(0, 0), QPointF(1, 1)};
    two.count = 2;
    const QByteArray image = KoDeviceEncoder::Image({}, Hex("010203"));
    // A body ending inside the header, with a data length of L - 68 < 0.
    const QByteArray cut = image.left(48) + Hex("FFFFFFFFFFFFFFF8") + image.mid(56, 4);
    const QByteArray stat = I32(7) + I32(0) + Hex("0000");
    const QByteArray all = I32(8) + I32(0) + I32(1) + Hex("0000");
    const QByteArray file = I32(41) + I32(0) + I32(0) + I32(0);
    return {
        {"user params one byte long", KoDeviceEncoder::UserParams(0, two) + Hex("00")},
        {"user params negative count", I32(4) + I32(0) + I32(-1) + QByteArray(12, 0)},
        {"objects one short",
         KoDeviceEncoder::TrackedObjects(0, {KoObjectData()}, 0, 0).chopped(1)},
        {"objects huge count", I32(2) + I32(0) + I32(0x7fffffff) + I32(0) + I32(0)},
        {"image data missing", image.chopped(1)},
        {"image extra byte", image + Hex("00")},
        {"image shorter than its header", cut},
        {"statistic count beyond body", stat + I32(3) + I32(0) + I32(0) + QByteArray(16, 1)},
        {"statistic 12-byte body, huge count", stat + Hex("7fff")},
        {"statistic max counts", stat + I32(0x7fffffff) + I32(0) + I32(0x7fffffff)},
        {"statistic alarms beyond body", stat + I32(0) + I32(0) + I32(1) + QByteArray(27, 0)},
        {"statistic negative count", stat + I32(-1) + I32(0) + I32(0)},
        {"statistic-all heads beyond body", I32(8) + I32(0) + I32(1000) + QByteArray(20, 0)},
        {"statistic-all samples beyond body", all + I32(2) + I32(0) + I32(0) + QByteArray(15, 0)},
        {"statistic-all negative count", all + I32(-1) + I32(0) + I32(0)},
        {"strings count beyond body", I32(20) + I32(1) + I32(0x7fffffff)},
        {"string length beyond body", I32(22) + I32(1) + I32(1) + I32(10) + QByteArray("abc")},
        {"string negative length", I32(22) + I32(1) + I32(1) + I32(-1)},
        {"file name empty", KoDeviceEncoder::FilesCountInfo(0, 1, 2, QString())},
        {"file name negative", file + Hex("FFFF61")},
        {"file name beyond body", file + Hex("000561")},
        {"reboot ack wrong", I32(40) + Hex("A1B1C1D0")},
        {"reboot ack short", I32(40) + Hex("A1B1C1")},
        {"record answer other kind", I32(10) + I32(0) + I32(5)},
    };
}
