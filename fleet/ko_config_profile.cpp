#include "ko_config_profile.h"

#include "settings/ko_address_check.h"
#include "settings/ko_apn_settings.h"
#include "settings/ko_mount_ranges.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <climits>
#include <cmath>

const char* const KoConfigProfile::FormatName = "velmora-configuration";

namespace {

const char* const ModemKeys[4] = {"PHONE", "USERNAME", "PASSWORD", "APN"};
const char* const CameraKeys[2] = {"KO_LEFT_CAM_ID", "KO_RIGHT_CAM_ID"};

// What the device holds of a coordinate: whole thousandths, as the wire
// carries them.
double milliValue(double value)
{
    return KoConfigProfile::Milli(value) / 1000.0;
}

QJsonArray point(const QPointF& p)
{
    return QJsonArray{milliValue(p.x()), milliValue(p.y())};
}

bool wholeNumber(const QJsonValue& v, qint64 low, qint64 high, qint64* out)
{
    const double d = v.toDouble(std::nan(""));
    if (!v.isDouble() || !std::isfinite(d) || d != std::floor(d) || d < double(low) ||
        d > double(high))
        return false;
    *out = qint64(d);
    return true;
}

// A coordinate: any finite number; whether it lies on the picture is the
// line's check.
bool coordinate(const QJsonValue& v, double* out)
{
    if (!v.isDouble() || !std::isfinite(v.toDouble()) || std::fabs(v.toDouble()) > 1e6)
        return false;
    *out = milliValue(v.toDouble());
    return true;
}

bool shortText(const QJsonValue& v, int max, QString* out)
{
    if (!v.isString() || v.toString().size() > max)
        return false;
    *out = v.toString();
    return true;
}

} // namespace

int32_t KoConfigProfile::Milli(double value)
{
    const double milli = std::round(value * 1000.0);
    if (!(milli == milli))
        return 0;
    return int32_t(qBound(double(INT32_MIN), milli, double(INT32_MAX)));
}

const KoConfigProfile::Door* KoConfigProfile::DoorOf(int pass) const
{
    for (const Door& door : doors) {
        if (door.pass == pass)
            return &door;
    }
    return nullptr;
}

QByteArray KoConfigProfile::ToJson() const
{
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(FormatName));
    top.insert(QStringLiteral("version"), FormatVersion);
    top.insert(QStringLiteral("saved"), saved.toUTC().toString(Qt::ISODate));
    top.insert(QStringLiteral("source"), QJsonObject{{QStringLiteral("name"), sourceName},
                                                     {QStringLiteral("vehicle"), sourceVehicle},
                                                     {QStringLiteral("host"), sourceHost},
                                                     {QStringLiteral("port"), sourcePort}});
    QJsonArray door_list;
    for (const Door& door : doors) {
        QJsonObject o{{QStringLiteral("pass"), door.pass}};
        if (door.hasLine) {
            QJsonArray line;
            for (const QPointF& p : door.line.line)
                line.append(point(p));
            o.insert(QStringLiteral("line"), line);
            const QRectF& z = door.line.zone;
            o.insert(QStringLiteral("zone"),
                     QJsonObject{{QStringLiteral("x"), milliValue(z.x())},
                                 {QStringLiteral("y"), milliValue(z.y())},
                                 {QStringLiteral("width"), milliValue(z.width())},
                                 {QStringLiteral("height"), milliValue(z.height())}});
        }
        if (door.hasMount) {
            QJsonObject mount;
            for (int f = 0; f < KoMountRanges::FieldCount; ++f) {
                const auto field = static_cast<KoMountRanges::Field>(f);
                mount.insert(QLatin1String(KoMountRanges::Key(field)),
                             KoMountRanges::Get(door.mount, field));
            }
            o.insert(QStringLiteral("mount"), mount);
        }
        if (door.hasCameras)
            o.insert(QStringLiteral("cameras"),
                     QJsonObject{{QLatin1String(CameraKeys[0]), door.cameras.left},
                                 {QLatin1String(CameraKeys[1]), door.cameras.right}});
        door_list.append(o);
    }
    top.insert(QStringLiteral("doors"), door_list);
    if (hasModem) {
        QJsonObject modem_object;
        for (int i = 0; i < 4; ++i)
            modem_object.insert(QLatin1String(ModemKeys[i]), modem.value(i));
        top.insert(QStringLiteral("modem"), modem_object);
    }
    if (hasServer)
        top.insert(QStringLiteral("server"), QJsonObject{{QStringLiteral("IP"), server}});
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool KoConfigProfile::FromJson(const QByteArray& bytes, KoConfigProfile* profile, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.size() > MaxFileBytes)
        return fail(tr("the file is larger than %1 KiB").arg(MaxFileBytes / 1024));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(
            tr("it is not JSON (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset));
    const QJsonObject top = doc.object();
    if (!doc.isObject() ||
        top.value(QStringLiteral("format")).toString() != QLatin1String(FormatName))
        return fail(tr("it is no configuration of this tool"));
    qint64 version = 0;
    if (!wholeNumber(top.value(QStringLiteral("version")), 1, INT_MAX, &version))
        return fail(tr("its format version is missing"));
    if (version > FormatVersion)
        return fail(tr("it was written by a newer configurator (format %1; this one reads format "
                       "%2 and older)")
                        .arg(version)
                        .arg(FormatVersion));

    KoConfigProfile read;
    read.saved = QDateTime::fromString(top.value(QStringLiteral("saved")).toString(), Qt::ISODate);
    if (!read.saved.isValid())
        return fail(tr("the date it was saved is missing"));
    read.saved = read.saved.toUTC();
    const QJsonObject source = top.value(QStringLiteral("source")).toObject();
    qint64 port = 0;
    if (!shortText(source.value(QStringLiteral("name")), MaxText, &read.sourceName) ||
        !shortText(source.value(QStringLiteral("vehicle")), MaxText, &read.sourceVehicle) ||
        !shortText(source.value(QStringLiteral("host")), MaxText, &read.sourceHost) ||
        !wholeNumber(source.value(QStringLiteral("port")), 0, 65535, &port))
        return fail(tr("the source device is missing or damaged"));
    read.sourcePort = quint16(port);

    const QJsonValue door_value = top.value(QStringLiteral("doors"));
    if (!door_value.isArray() || door_value.toArray().size() > 4)
        return fail(tr("the list of doors is missing or longer than four"));
    const QJsonArray door_list = door_value.toArray();
    for (int i = 0; i < door_list.size(); ++i) {
        const auto bad = [&](const QString& what) {
            return fail(tr("door %1: %2").arg(i + 1).arg(what));
        };
        const QJsonObject o = door_list[i].toObject();
        Door door;
        qint64 pass = 0;
        if (!door_list[i].isObject() || !wholeNumber(o.value(QStringLiteral("pass")), 0, 3, &pass))
            return bad(tr("the pass is missing or not 0 to 3"));
        door.pass = int(pass);
        if (read.DoorOf(door.pass))
            return bad(tr("pass %1 comes twice").arg(pass));

        const QJsonValue line = o.value(QStringLiteral("line"));
        const QJsonValue zone = o.value(QStringLiteral("zone"));
        if (!line.isUndefined() || !zone.isUndefined()) {
            if (!line.isArray() || line.toArray().size() > MaxLinePoints)
                return bad(tr("the line is not a list of at most %1 points").arg(MaxLinePoints));
            for (const QJsonValue& p : line.toArray()) {
                const QJsonArray xy = p.toArray();
                double x = 0, y = 0;
                if (!p.isArray() || xy.size() != 2 || !coordinate(xy[0], &x) ||
                    !coordinate(xy[1], &y))
                    return bad(tr("a point of the line is not two numbers"));
                door.line.line.append(QPointF(x, y));
            }
            door.line.count = door.line.line.size();
            const QJsonObject z = zone.toObject();
            double zx = 0, zy = 0, zw = 0, zh = 0;
            if (!zone.isObject() || !coordinate(z.value(QStringLiteral("x")), &zx) ||
                !coordinate(z.value(QStringLiteral("y")), &zy) ||
                !coordinate(z.value(QStringLiteral("width")), &zw) ||
                !coordinate(z.value(QStringLiteral("height")), &zh))
                return bad(tr("the zone is not four numbers"));
            door.line.zone = QRectF(zx, zy, zw, zh);
            door.hasLine = true;
        }

        const QJsonValue mount = o.value(QStringLiteral("mount"));
        if (!mount.isUndefined()) {
            for (int f = 0; f < KoMountRanges::FieldCount; ++f) {
                const auto field = static_cast<KoMountRanges::Field>(f);
                qint64 value = 0;
                if (!wholeNumber(mount.toObject().value(QLatin1String(KoMountRanges::Key(field))),
                                 INT32_MIN, INT32_MAX, &value))
                    return bad(tr("the mount option %1 is missing or not a whole number")
                                   .arg(QLatin1String(KoMountRanges::Key(field))));
                KoMountRanges::Set(door.mount, field, int32_t(value));
            }
            door.hasMount = true;
        }

        const QJsonValue cameras = o.value(QStringLiteral("cameras"));
        if (!cameras.isUndefined()) {
            qint64 left = 0, right = 0;
            if (!wholeNumber(cameras.toObject().value(QLatin1String(CameraKeys[0])), INT32_MIN,
                             INT32_MAX, &left) ||
                !wholeNumber(cameras.toObject().value(QLatin1String(CameraKeys[1])), INT32_MIN,
                             INT32_MAX, &right))
                return bad(tr("the camera numbers are not two whole numbers"));
            door.cameras.left = int32_t(left);
            door.cameras.right = int32_t(right);
            door.hasCameras = true;
        }
        read.doors.append(door);
    }

    const QJsonValue modem = top.value(QStringLiteral("modem"));
    if (!modem.isUndefined()) {
        for (const char* key : ModemKeys) {
            QString text;
            if (!shortText(modem.toObject().value(QLatin1String(key)), MaxText, &text))
                return fail(tr("the modem setting %1 is missing or not a text of at most %2 "
                               "characters")
                                .arg(QLatin1String(key))
                                .arg(MaxText));
            read.modem << text;
        }
        read.hasModem = true;
    }
    const QJsonValue server = top.value(QStringLiteral("server"));
    if (!server.isUndefined()) {
        if (!shortText(server.toObject().value(QStringLiteral("IP")), MaxText, &read.server))
            return fail(tr("the server address is missing or not a text of at most %1 characters")
                            .arg(MaxText));
        read.hasServer = true;
    }
    *profile = read;
    return true;
}

QString KoConfigProfile::CheckLine(const KoUserParams& params)
{
    // What the picture's editors can make: a line of two points or more, and
    // a zone of some size, all on the picture.
    const int n = params.line.size();
    if (n < 2 || n > MaxLinePoints || params.count != n)
        return tr("a counting line has 2 to %1 points; this one has %2").arg(MaxLinePoints).arg(n);
    const auto on_picture = [](double v) {
        const int32_t m = KoConfigProfile::Milli(v);
        return m >= 0 && m <= 1000;
    };
    for (const QPointF& p : params.line) {
        if (!on_picture(p.x()) || !on_picture(p.y()))
            return tr("the point %1, %2 of the line lies off the picture (0 to 1)")
                .arg(p.x())
                .arg(p.y());
    }
    const QRectF& z = params.zone;
    const int32_t x = KoConfigProfile::Milli(z.x());
    const int32_t y = KoConfigProfile::Milli(z.y());
    const int32_t w = KoConfigProfile::Milli(z.width());
    const int32_t h = KoConfigProfile::Milli(z.height());
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || qint64(x) + w > 1000 || qint64(y) + h > 1000)
        return tr("the zone %1, %2, %3 x %4 does not lie on the picture (0 to 1)")
            .arg(z.x())
            .arg(z.y())
            .arg(z.width())
            .arg(z.height());
    return QString();
}

QString KoConfigProfile::CheckMount(const ClientOptions& mount)
{
    const KoMountRanges::Field field = KoMountRanges::FirstMisfit(mount);
    if (field == KoMountRanges::FieldCount)
        return QString();
    return tr("%1: %2 is out of range. Allowed: %3.")
        .arg(KoMountRanges::Name(field),
             KoMountRanges::Shown(field, KoMountRanges::Get(mount, field)),
             KoMountRanges::Allowed(field));
}

QString KoConfigProfile::CheckModem(const QStringList& modem)
{
    int failing = 0;
    if (modem.size() != 4 || !KoApnSettings::Storable(modem, &failing))
        return tr("the modem setting %1 may not hold blanks, tabs, \";\" or line breaks, nor be "
                  "the word \"default\"")
            .arg(QLatin1String(ModemKeys[qBound(0, failing, 3)]));
    return QString();
}

QString KoConfigProfile::CheckServer(const QString& server)
{
    if (!KoAddressCheck::IsServerAddress(server))
        return tr("\"%1\" is neither an IPv4 address nor a host name").arg(server);
    return QString();
}
