#include "sim_device.h"

#include "ko_device_encoder.h"
#include "ko_request_decoder.h"
#include "ko_wire.h"

#include <QDateTime>

#include <cmath>
#include <cstdlib>

namespace {

QString stampText(const KoStatisticsData& s)
{
    return QStringLiteral("%1-%2-%3 %4h")
        .arg(2000 + s.year)
        .arg(s.month, 2, 10, QLatin1Char('0'))
        .arg(s.day, 2, 10, QLatin1Char('0'))
        .arg(s.hour);
}

const char* periodName(int sid)
{
    switch (sid) {
    case STAT_YEAR:
        return "year";
    case STAT_MONTH:
        return "month";
    case STAT_DAY:
        return "day";
    }
    return "?";
}

} // namespace

SimDevice::SimDevice(const SimOptions& options)
    : options(options), synth(options.width, options.height, options.gray),
      stats(options.seed, options.passes), unit(options.port)
{
    passes.resize(static_cast<size_t>(options.passes));
    for (int i = 0; i < options.passes; ++i) {
        PassState& p = passes[static_cast<size_t>(i)];
        p.people = std::make_unique<PeopleSim>(
            i, options.seed, SimErrorModel{options.missRate, options.extraRate});
        p.mount = DefaultMountData();
        p.cameras.left = 1001 + 2 * i;
        p.cameras.right = 1002 + 2 * i;
    }
    stats.SetTimeZone(unit.TimeZone());
}

ClientOptions SimDevice::DefaultMountData()
{
    ClientOptions o;
    o.camMountHeight = 220;
    o.camViewAngle = 0;
    o.camAngleSlope = 0;
    o.minObjectHeight = 100;
    o.minHeadSquare = 200;
    o.maxHumanVelocity = 10;
    o.headSize = 180;
    o.minTrackLenght = 10;
    o.minLostObjectFrames = 5;
    o.etalonHeight = 175;
    return o;
}

SimDevice::Output SimDevice::Handle(const char* body, qsizetype size, int64_t now_ms)
{
    Output out;
    KoDecodedRequest r;
    const auto result = KoRequestDecoder::Decode(body, size, r);
    if (result == KoDecodedRequest::Result::Empty) {
        out.log = QStringLiteral("a frame too short for a message code, ignored");
        return out;
    }
    if (result == KoDecodedRequest::Result::Dropped) {
        out.log = QStringLiteral("%1: malformed, dropped").arg(r.code);
        return out;
    }
    if (r.code >= 43 && r.code <= 54) {
        const SysUnit::Answer a = unit.Handle(r.code, r.payload, r.payloadSize, now_ms / 1000);
        if (!a.handled) {
            out.log = QStringLiteral("%1: not a request of the system unit, ignored").arg(r.code);
            return out;
        }
        stats.SetTimeZone(unit.TimeZone());
        out.toSender.append(a.body);
        out.log = QStringLiteral("%1: %2 -> %3").arg(r.code).arg(a.log).arg(a.code);
        return out;
    }
    if (result == KoDecodedRequest::Result::Unknown) {
        out.log = QStringLiteral("%1: unknown request, ignored").arg(r.code);
        return out;
    }

    const bool pass_ok = ValidPass(r.passId);
    const auto refused = [this](const char* what) {
        return options.refuse.contains(QLatin1String(what));
    };
    auto noPass = [&](const char* what) {
        out.log = QStringLiteral("%1: %2 for pass %3, which the device does not have, ignored")
                      .arg(r.code)
                      .arg(QLatin1String(what))
                      .arg(r.passId);
    };
    switch (r.code) {
    case ko_wire::ConnectedRequest: {
        out.toSender.append(KoDeviceEncoder::ConnectedAnswer(Passes()));
        for (int i = 0; i < Passes(); ++i) {
            const PassState& p = passes[static_cast<size_t>(i)];
            out.toSender.append(KoDeviceEncoder::UserParams(i, p.people->UserParams()));
            out.toSender.append(KoDeviceEncoder::MountData(i, p.mount));
            out.toSender.append(KoDeviceEncoder::CameraNumsAnswer(i, 1, p.cameras));
        }
        out.log = QStringLiteral("13: connected request -> 14 (%1 passes), then 4, 3, 12 per pass")
                      .arg(Passes());
        break;
    }
    case ko_wire::MountData:
        if (!pass_ok)
            return noPass("mount data"), out;
        if (refused("mount")) {
            out.toSender.append(
                KoDeviceEncoder::MountData(r.passId, passes[static_cast<size_t>(r.passId)].mount));
            out.log = QStringLiteral("3: mount data of pass %1 refused, kept -> 3").arg(r.passId);
            break;
        }
        passes[static_cast<size_t>(r.passId)].mount = r.options;
        out.toAll.append(KoDeviceEncoder::MountData(r.passId, r.options));
        out.log = QStringLiteral("3: mount data of pass %1 (height %2 cm) stored -> 3")
                      .arg(r.passId)
                      .arg(r.options.camMountHeight);
        break;
    case ko_wire::UserParams: {
        if (!pass_ok)
            return noPass("counting line"), out;
        PeopleSim& people = *passes[static_cast<size_t>(r.passId)].people;
        if (refused("line")) {
            out.toSender.append(KoDeviceEncoder::UserParams(r.passId, people.UserParams()));
            out.log =
                QStringLiteral("4: counting line of pass %1 refused, kept -> 4").arg(r.passId);
            break;
        }
        people.SetUserParams(r.userParams);
        out.toAll.append(KoDeviceEncoder::UserParams(r.passId, people.UserParams()));
        out.log = QStringLiteral("4: counting line of pass %1 (%2 points) stored -> 4")
                      .arg(r.passId)
                      .arg(r.userParams.count);
        break;
    }
    case ko_wire::StatRequest: {
        const int type = static_cast<int>(r.statType);
        const QString period = QStringLiteral("%1 %2 .. %3, pass %4")
                                   .arg(QLatin1String(periodName(r.statId)), stampText(r.statStart),
                                        stampText(r.statEnd))
                                   .arg(r.passId);
        if (type == 2) {
            QVector<QVector<KoStatisticsData>> groups;
            groups.append(stats.Series(r.passId, 0, r.statId, r.statStart, r.statEnd));
            groups.append(stats.Series(r.passId, 1, r.statId, r.statStart, r.statEnd));
            out.toSender.append(KoDeviceEncoder::StatisticAll(
                r.passId, groups, {STAT_INCOMING, STAT_OUTCOMING}, {r.statId, r.statId}));
            out.log = QStringLiteral("6: statistics both ways, %1 -> 8 (2 x %2 samples)")
                          .arg(period)
                          .arg(groups[0].size());
        } else {
            // Any other direction byte gets an empty reply rather than none.
            QVector<KoStatisticsData> samples;
            QVector<KoStatisticsAlarmData> alarms;
            if (type == 0 || type == 1) {
                samples = stats.Series(r.passId, type, r.statId, r.statStart, r.statEnd);
                alarms = stats.Alarms(r.passId, r.statStart, r.statEnd, r.statId);
            }
            out.toSender.append(
                KoDeviceEncoder::Statistic(r.passId, r.statType, r.statId, samples, alarms));
            out.log =
                QStringLiteral("6: statistics %1, %2 -> 7 (%3 samples, %4 events)")
                    .arg(type == 0 ? QStringLiteral("in")
                                   : (type == 1 ? QStringLiteral("out")
                                                : QStringLiteral("of direction %1").arg(type)),
                         period)
                    .arg(samples.size())
                    .arg(alarms.size());
        }
        break;
    }
    case ko_wire::RecordCommand: {
        if (!pass_ok)
            return noPass("recording"), out;
        PassState& p = passes[static_cast<size_t>(r.passId)];
        if (r.recordCommand == ko_wire::RecordStart) {
            // A negative frame count asks for the left camera only; the
            // answer's result carries it back with its sign.
            const int frames = r.recordFrames;
            p.recordTotal = frames == 0 ? 0 : std::abs(frames == INT32_MIN ? INT32_MAX : frames);
            p.recordCounted = 0;
            p.sinceProgress = 0;
            p.recordFile = QStringLiteral("pass%1_%2.avi")
                               .arg(r.passId)
                               .arg(QDateTime::fromMSecsSinceEpoch(now_ms, Qt::UTC)
                                        .toString(QStringLiteral("yyyyMMdd_hhmmss")));
            out.toAll.append(KoDeviceEncoder::Recorded(r.passId, frames));
            out.log =
                frames == 0
                    ? QStringLiteral("9: record 0 frames on pass %1 -> 10 kind 2, result 0")
                          .arg(r.passId)
                    : QStringLiteral("9: record %1 frames (%2) on pass %3 -> 10 kind 2, "
                                     "result %4")
                          .arg(p.recordTotal)
                          .arg(frames > 0 ? QStringLiteral("stereo") : QStringLiteral("one camera"))
                          .arg(r.passId)
                          .arg(frames);
        } else if (r.recordCommand == ko_wire::RecordStop) {
            const bool was = p.recordTotal > 0;
            if (was)
                out.toAll.append(Progress(r.passId));
            p.recordTotal = 0;
            out.toAll.append(KoDeviceEncoder::RecordStopped(r.passId));
            out.log = QStringLiteral("9: stop recording on pass %1%2 -> 10 kind 3")
                          .arg(r.passId)
                          .arg(was ? QString() : QStringLiteral(" (none running)"));
        } else {
            out.log =
                QStringLiteral("9: unknown record sub-command %1, ignored").arg(r.recordCommand);
        }
        break;
    }
    case ko_wire::CameraNums:
        if (!pass_ok)
            return noPass("camera numbers"), out;
        passes[static_cast<size_t>(r.passId)].cameras = r.cameraNums;
        out.toAll.append(KoDeviceEncoder::CameraNumsAnswer(r.passId, 1, r.cameraNums));
        out.log = QStringLiteral("11: cameras of pass %1 are %2 and %3 -> 12")
                      .arg(r.passId)
                      .arg(r.cameraNums.left)
                      .arg(r.cameraNums.right);
        break;
    case ko_wire::SwUpdate: {
        int answer = ko_wire::UpdateInstalled;
        QString why = QStringLiteral("installed");
        if (r.sw.isEmpty()) {
            answer = 1;
            why = QStringLiteral("empty image");
        } else if (!r.swChecksumOk) {
            answer = 2;
            why = QStringLiteral("checksum mismatch");
        }
        out.toSender.append(KoDeviceEncoder::UpdateFinished(answer));
        out.log = QStringLiteral("17: software update of %1 bytes, %2 -> 18 with %3")
                      .arg(r.sw.size())
                      .arg(why)
                      .arg(answer);
        break;
    }
    case ko_wire::ModemSettings:
        if (refused("modem")) {
            out.toSender.append(KoDeviceEncoder::ModemSettingsAck(RefusedCode, modemSettings));
            out.log = QStringLiteral("19: modem settings refused -> 20 with %1").arg(RefusedCode);
            break;
        }
        modemSettings = r.settings;
        out.toSender.append(KoDeviceEncoder::ModemSettingsAck(1, modemSettings));
        out.log =
            QStringLiteral("19: modem settings (%1 items) -> 20 with 1").arg(r.settings.size());
        break;
    case ko_wire::ServerIpSettings:
        if (refused("server")) {
            out.toSender.append(KoDeviceEncoder::IpServerAck(RefusedCode, serverSettings));
            out.log = QStringLiteral("21: server settings refused -> 22 with %1").arg(RefusedCode);
            break;
        }
        serverSettings = r.settings;
        out.toSender.append(KoDeviceEncoder::IpServerAck(1, serverSettings));
        out.log =
            QStringLiteral("21: server settings (%1 items) -> 22 with 1").arg(r.settings.size());
        break;
    case ko_wire::Reboot:
        if (!r.rebootMagicOk) {
            out.log = QStringLiteral("39: reboot request with wrong bytes, ignored");
            break;
        }
        out.reboot = true;
        if (options.fault == SimOptions::Fault::NoRebootAck) {
            out.log = QStringLiteral("39: reboot (no acknowledgement: fault mode)");
        } else {
            out.toSender.append(KoDeviceEncoder::RebootAck());
            out.log = QStringLiteral("39: reboot -> 40");
        }
        break;
    case ko_wire::ViewMode:
        if (!pass_ok)
            return noPass("view mode"), out;
        out.viewPass = r.passId;
        out.viewMode = r.viewMode;
        out.log = QStringLiteral("42: view mode of pass %1 is %2")
                      .arg(r.passId)
                      .arg(r.viewMode == 1   ? QStringLiteral("left camera")
                           : r.viewMode == 2 ? QStringLiteral("right camera")
                                             : QStringLiteral("no picture"));
        break;
    default:
        out.log = QStringLiteral("%1: not a request of the device, ignored").arg(r.code);
        break;
    }
    return out;
}

QByteArray SimDevice::Progress(int pass_id) const
{
    const PassState& p = passes[static_cast<size_t>(pass_id)];
    return KoDeviceEncoder::FilesCountInfo(pass_id, static_cast<int>(p.recordCounted),
                                           p.recordTotal, p.recordFile);
}

QVector<QByteArray> SimDevice::Step(double dt)
{
    QVector<QByteArray> due;
    ++frame;
    for (int i = 0; i < Passes(); ++i) {
        PassState& p = passes[static_cast<size_t>(i)];
        p.people->Step(dt);
        if (p.recordTotal <= 0)
            continue;
        p.recordCounted = std::min<double>(p.recordTotal, p.recordCounted + dt * options.fps);
        p.sinceProgress += dt;
        const bool done = p.recordCounted >= p.recordTotal;
        if (p.sinceProgress >= 1.0 || done) {
            p.sinceProgress = 0;
            due.append(Progress(i));
        }
        if (done) {
            p.recordTotal = 0;
            due.append(KoDeviceEncoder::RecordStopped(i));
        }
    }
    return due;
}

QByteArray SimDevice::ImageBody(int pass_id, int camera_id, int64_t now_ms)
{
    if (!ValidPass(pass_id) || (camera_id != 1 && camera_id != 2))
        return QByteArray();
    PassState& p = passes[static_cast<size_t>(pass_id)];
    const int slot = camera_id - 1;
    if (p.pictureFrame[slot] == frame)
        return p.picture[slot];
    const cv::Mat& picture = synth.Render(camera_id, p.people->People());
    KoDeviceEncoder::ImageHeader h;
    h.passId = pass_id;
    h.inCount = p.people->InCount();
    h.outCount = p.people->OutCount();
    h.rate = options.fps * 100;
    h.frameField = static_cast<int32_t>(frame);
    h.imageId = camera_id;
    h.width = picture.cols;
    h.height = picture.rows;
    h.lineStep = picture.cols * picture.channels();
    h.longField1 = now_ms;
    h.longField2 = frame;
    h.encoding = options.jpeg ? ko_wire::ImageEncodingCompressed : 0;
    const QByteArray data =
        options.jpeg ? PictureSynth::EncodeJpeg(picture) : PictureSynth::Raw(picture);
    p.picture[slot] = KoDeviceEncoder::Image(h, data);
    p.pictureFrame[slot] = frame;
    return p.picture[slot];
}

QByteArray SimDevice::ObjectsBody(int pass_id, int64_t now_ms) const
{
    if (!ValidPass(pass_id))
        return QByteArray();
    const PeopleSim& people = *passes[static_cast<size_t>(pass_id)].people;
    return KoDeviceEncoder::TrackedObjects(pass_id,
                                           people.Objects(options.width, options.height, now_ms),
                                           people.InCount(), people.OutCount());
}

std::vector<SimCrossing> SimDevice::TakeCrossings()
{
    std::vector<SimCrossing> all;
    for (PassState& p : passes) {
        const std::vector<SimCrossing> some = p.people->TakeCrossings();
        all.insert(all.end(), some.begin(), some.end());
    }
    return all;
}

void SimDevice::Rebooted()
{
    for (PassState& p : passes)
        p.recordTotal = 0;
}
