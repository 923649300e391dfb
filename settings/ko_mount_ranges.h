#pragma once

#include "client/ko_http_client/ko_device_records.h"

#include <QString>

#include <cstdint>

// What the mount options of a pass may hold: one definition for the Mount
// options dialog and for everything else that sends them (a configuration
// profile), so that nothing reaches the device that the dialog would refuse.
// Fields are in the dialog's order; the view angle has no row and is always
// sent as 0.
class KoMountRanges
{
public:
    enum Field
    {
        MountHeight,
        AngleSlope,
        MinObjectHeight,
        MinHeadSquare,
        MaxHumanVelocity,
        HeadSize,
        MinTrackLenght,
        MinLostObjectFrames,
        EtalonHeight,
        FieldCount
    };

    // The smallest value a field can take (the bottom of its validator); the
    // slope also has a top.
    static int32_t Bottom(Field field);
    static constexpr int32_t MaxSlope = 80;

    static int32_t Get(const ClientOptions& options, Field field);
    static void Set(ClientOptions& options, Field field, int32_t value);

    // Whether value fits field. The minimum object height is checked against
    // the mount height in options, the lost-object length against the
    // minimum track length in options.
    static bool Fits(Field field, int32_t value, const ClientOptions& options);
    // The first field of options that does not fit, FieldCount when all do.
    static Field FirstMisfit(const ClientOptions& options);

    // The dialog's texts: the row's label ("Camera mount height (sm.):"), its
    // name in messages (without the colon) and what it takes ("101 or more").
    static QString Label(Field field);
    static QString Name(Field field);
    static QString Allowed(Field field);
    // The key of "params%0.txt" ("KO_CAM_MOUNT_HEIGHT").
    static const char* Key(Field field);
    // The value as the dialog shows it: the head size in centimetres ("2.5").
    static QString Shown(Field field, int32_t value);
};
