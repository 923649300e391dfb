#pragma once

#include "ko_config_profile.h"
#include "ko_profile_applier.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

class KoDeviceState;

// What applying a configuration would change on the connected device: one
// section per door's line and zone, per door's mount options, the modem and
// the server settings, each with its rows (what the device has now, what the
// file has), whether it changes anything, and whether it can be applied at
// all (a value the dialogs would refuse, a door the device does not have).
class KoProfilePlan
{
    Q_DECLARE_TR_FUNCTIONS(KoProfilePlan)

public:
    struct Row
    {
        QString label;
        QString now;
        QString proposed;
        bool changed = false;
        bool known = true; // whether now is what the device has
    };
    struct Section
    {
        KoProfileApplier::Step step;
        QString title;
        QVector<Row> rows;
        bool changed = false;
        QString blocked; // why it cannot be applied; empty when it can
    };
    // The device's modem and server settings are known only where it
    // acknowledged them since the link was aimed at it.
    static QVector<Section> Make(const KoConfigProfile& profile, const KoDeviceState& device);

    // "Pass 1: counting line and zone", as the report names a step.
    static QString Title(const KoProfileApplier::Step& step);
    // Camera numbers name the source's own cameras: shown, never applied.
    static QString CamerasNote(const KoConfigProfile::Door& door);
};
