#include "ko_mount_ranges.h"

#include <QCoreApplication>

#include <climits>

namespace {

// The dialog's own texts, translated in its context.
QString dialogText(const char* text)
{
    return QCoreApplication::translate("KoClientOptions", text);
}

} // namespace

int32_t KoMountRanges::Bottom(Field field)
{
    switch (field) {
    case MountHeight:
        return 101;
    case AngleSlope:
        return -MaxSlope;
    case MinObjectHeight:
        return 6;
    case MaxHumanVelocity:
        return 1;
    case HeadSize:
        return 21; // tenths: more than 2.0 cm
    case MinTrackLenght:
        return 3;
    case MinLostObjectFrames:
        return 1;
    case EtalonHeight:
        return 0; // 0, or 31 and more
    case MinHeadSquare:
    case FieldCount:
        break;
    }
    return INT32_MIN;
}

int32_t KoMountRanges::Get(const ClientOptions& o, Field field)
{
    switch (field) {
    case MountHeight:
        return o.camMountHeight;
    case AngleSlope:
        return o.camAngleSlope;
    case MinObjectHeight:
        return o.minObjectHeight;
    case MinHeadSquare:
        return o.minHeadSquare;
    case MaxHumanVelocity:
        return o.maxHumanVelocity;
    case HeadSize:
        return o.headSize;
    case MinTrackLenght:
        return o.minTrackLenght;
    case MinLostObjectFrames:
        return o.minLostObjectFrames;
    case EtalonHeight:
        return o.etalonHeight;
    case FieldCount:
        break;
    }
    return 0;
}

void KoMountRanges::Set(ClientOptions& o, Field field, int32_t value)
{
    switch (field) {
    case MountHeight:
        o.camMountHeight = value;
        break;
    case AngleSlope:
        o.camAngleSlope = value;
        break;
    case MinObjectHeight:
        o.minObjectHeight = value;
        break;
    case MinHeadSquare:
        o.minHeadSquare = value;
        break;
    case MaxHumanVelocity:
        o.maxHumanVelocity = value;
        break;
    case HeadSize:
        o.headSize = value;
        break;
    case MinTrackLenght:
        o.minTrackLenght = value;
        break;
    case MinLostObjectFrames:
        o.minLostObjectFrames = value;
        break;
    case EtalonHeight:
        o.etalonHeight = value;
        break;
    case FieldCount:
        break;
    }
}

bool KoMountRanges::Fits(Field field, int32_t value, const ClientOptions& o)
{
    switch (field) {
    case AngleSlope:
        return value >= -MaxSlope && value <= MaxSlope;
    case MinObjectHeight:
        return value >= Bottom(field) && value < o.camMountHeight;
    case MinHeadSquare:
        return true; // the device's own measure, sent back as it came
    case MinLostObjectFrames:
        return value >= Bottom(field) && value < o.minTrackLenght;
    case EtalonHeight:
        return value == 0 || value >= 31;
    case FieldCount:
        return false;
    default:
        return value >= Bottom(field);
    }
}

KoMountRanges::Field KoMountRanges::FirstMisfit(const ClientOptions& o)
{
    for (int f = 0; f < FieldCount; ++f) {
        const auto field = static_cast<Field>(f);
        if (!Fits(field, Get(o, field), o))
            return field;
    }
    return FieldCount;
}

QString KoMountRanges::Label(Field field)
{
    switch (field) {
    case MountHeight:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Camera mount height (sm.):"));
    case AngleSlope:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Camera slope angle (dg.):"));
    case MinObjectHeight:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Min. object heght (sm.)"));
    case MinHeadSquare:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Object size (pix.):"));
    case MaxHumanVelocity:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Max object velocity (km/h.):"));
    case HeadSize:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Head size (sm.):"));
    case MinTrackLenght:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Min track lenght (frames):"));
    case MinLostObjectFrames:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Lost object lenght (frames):"));
    case EtalonHeight:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "Etalon height (sm.):"));
    case FieldCount:
        break;
    }
    return QString();
}

QString KoMountRanges::Name(Field field)
{
    QString name = Label(field).trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name;
}

QString KoMountRanges::Allowed(Field field)
{
    switch (field) {
    case MountHeight:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "101 or more"));
    case AngleSlope:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "from -80 to 80"));
    case MinObjectHeight:
        return dialogText(
            QT_TRANSLATE_NOOP("KoClientOptions", "6 or more, below the mount height"));
    case MinHeadSquare:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "as the device reports it"));
    case MaxHumanVelocity:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "1 or more"));
    case MinLostObjectFrames:
        return dialogText(
            QT_TRANSLATE_NOOP("KoClientOptions", "1 or more, below the min track lenght"));
    case HeadSize:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "2.1 or more, rounded to tenths"));
    case MinTrackLenght:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "3 or more"));
    case EtalonHeight:
        return dialogText(QT_TRANSLATE_NOOP("KoClientOptions", "0, or 31 or more"));
    case FieldCount:
        break;
    }
    return QString();
}

const char* KoMountRanges::Key(Field field)
{
    static const char* const keys[FieldCount] = {
        "KO_CAM_MOUNT_HEIGHT", "KO_CAM_ANGLE_SLOPE",        "KO_MIN_OBJECT_HEIGHT",
        "KO_MIN_HEAD_SQUARE",  "KO_MAX_HUMAN_VELOCITY",     "KO_HEAD_SIZE",
        "KO_MIN_TRACK_LENGHT", "KO_MIN_LOST_OBJECT_FRAMES", "KO_ETALON_HEIGHT"};
    return field >= 0 && field < FieldCount ? keys[field] : "";
}

QString KoMountRanges::Shown(Field field, int32_t value)
{
    // Tenths of a centimetre on the device, centimetres on screen: 25 is 2.5, 20 is 2.
    if (field == HeadSize)
        return QStringLiteral("%1").arg(value / 10.0, 0, 'g', -1);
    return QString::number(value);
}
