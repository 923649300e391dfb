#include "ko_profile_plan.h"

#include "ko_device_state.h"

#include "settings/ko_mount_ranges.h"

namespace {

QString milliText(double v)
{
    return QString::number(KoConfigProfile::Milli(v) / 1000.0, 'f', 3);
}

QString lineText(const KoUserParams& p)
{
    QStringList points;
    for (const QPointF& point : p.line)
        points << milliText(point.x()) + QLatin1Char(',') + milliText(point.y());
    return points.join(QLatin1Char(' '));
}

QString zoneText(const KoUserParams& p)
{
    return QStringLiteral("%1, %2, %3 x %4")
        .arg(milliText(p.zone.x()), milliText(p.zone.y()), milliText(p.zone.width()),
             milliText(p.zone.height()));
}

void addRow(KoProfilePlan::Section& section, bool known, const QString& label, const QString& now,
            const QString& proposed)
{
    // What is not known may differ.
    KoProfilePlan::Row row{label, known ? now : QString(), proposed, !known || now != proposed,
                           known};
    section.changed = section.changed || row.changed;
    section.rows.append(row);
}

} // namespace

QString KoProfilePlan::Title(const KoProfileApplier::Step& step)
{
    switch (step.kind) {
    case KoProfileApplier::Kind::Line:
        return tr("Pass %1: counting line and zone").arg(step.pass);
    case KoProfileApplier::Kind::Mount:
        return tr("Pass %1: mount options").arg(step.pass);
    case KoProfileApplier::Kind::Modem:
        return tr("Modem settings");
    case KoProfileApplier::Kind::Server:
        return tr("Server address");
    }
    return QString();
}

QString KoProfilePlan::CamerasNote(const KoConfigProfile::Door& door)
{
    return tr("Pass %1: the cameras %2 and %3 of the source are not applied; every device keeps "
              "its own.")
        .arg(door.pass)
        .arg(door.cameras.left)
        .arg(door.cameras.right);
}

QVector<KoProfilePlan::Section> KoProfilePlan::Make(const KoConfigProfile& profile,
                                                    const KoDeviceState& device)
{
    QVector<Section> sections;
    const auto door_missing = [&device](int pass) {
        return device.PassCount() >= 0 && pass >= device.PassCount()
                   ? tr("the device has no pass %1").arg(pass)
                   : QString();
    };
    for (const KoConfigProfile::Door& door : profile.doors) {
        const KoDeviceState::Door& now = device.DoorOf(door.pass);
        if (door.hasLine) {
            Section s;
            s.step.kind = KoProfileApplier::Kind::Line;
            s.step.pass = door.pass;
            s.step.line = door.line;
            s.title = Title(s.step);
            addRow(s, now.hasLine, tr("Counting line"), lineText(now.line), lineText(door.line));
            addRow(s, now.hasLine, tr("Zone"), zoneText(now.line), zoneText(door.line));
            s.blocked = door_missing(door.pass);
            if (s.blocked.isEmpty())
                s.blocked = KoConfigProfile::CheckLine(door.line);
            sections.append(s);
        }
        if (door.hasMount) {
            Section s;
            s.step.kind = KoProfileApplier::Kind::Mount;
            s.step.pass = door.pass;
            s.step.mount = door.mount;
            s.step.mount.camViewAngle = 0; // as the dialog sends it
            s.title = Title(s.step);
            for (int f = 0; f < KoMountRanges::FieldCount; ++f) {
                const auto field = static_cast<KoMountRanges::Field>(f);
                addRow(s, now.hasMount, KoMountRanges::Name(field),
                       KoMountRanges::Shown(field, KoMountRanges::Get(now.mount, field)),
                       KoMountRanges::Shown(field, KoMountRanges::Get(door.mount, field)));
            }
            s.blocked = door_missing(door.pass);
            if (s.blocked.isEmpty())
                s.blocked = KoConfigProfile::CheckMount(door.mount);
            sections.append(s);
        }
    }
    if (profile.hasModem) {
        Section s;
        s.step.kind = KoProfileApplier::Kind::Modem;
        s.step.settings = profile.modem;
        s.title = Title(s.step);
        const QStringList labels{tr("Number"), tr("Login"), tr("Password"), tr("APN")};
        for (int i = 0; i < 4; ++i) {
            addRow(s, device.HasModem(), labels[i], device.Modem().value(i),
                   profile.modem.value(i));
            // The password is compared, never shown.
            Row& row = s.rows.last();
            const QString hidden(6, QChar(0x2022));
            if (i == 2) {
                row.now = row.now.isEmpty() ? QString() : hidden;
                row.proposed = row.proposed.isEmpty() ? QString() : hidden;
            }
        }
        s.blocked = KoConfigProfile::CheckModem(profile.modem);
        sections.append(s);
    }
    if (profile.hasServer) {
        Section s;
        s.step.kind = KoProfileApplier::Kind::Server;
        s.step.settings = QStringList{profile.server, QString()};
        s.title = Title(s.step);
        addRow(s, device.HasServer(), tr("Ip address"), device.Server(), profile.server);
        s.blocked = KoConfigProfile::CheckServer(profile.server);
        sections.append(s);
    }
    return sections;
}
