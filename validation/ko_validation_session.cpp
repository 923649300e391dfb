#include "ko_validation_session.h"

#include <cmath>

int KoValidationSession::Sample::Hand(int door, int direction) const
{
    int sum = 0;
    for (int d = 0; d < MaxDoors; ++d) {
        for (int dir = 0; dir < 2; ++dir) {
            if ((door < 0 || door == d) && (direction < 0 || direction == dir))
                sum += doors[size_t(d)].hand[size_t(dir)];
        }
    }
    return sum;
}

int KoValidationSession::Sample::Device(int door, int direction) const
{
    int sum = 0;
    for (int d = 0; d < MaxDoors; ++d) {
        for (int dir = 0; dir < 2; ++dir) {
            if ((door < 0 || door == d) && (direction < 0 || direction == dir))
                sum += doors[size_t(d)].device[size_t(dir)];
        }
    }
    return sum;
}

bool KoValidationSession::Sample::Empty() const
{
    return Hand(-1, -1) == 0 && Device(-1, -1) == 0;
}

double KoValidationSession::Row::Relative() const
{
    return hand > 0 ? double(device - hand) / hand : NAN;
}

void KoValidationSession::Start(const QDateTime& now, int door_count)
{
    state = State::Running;
    doors = qBound(1, door_count, MaxDoors);
    started = now;
    ended = QDateTime();
    samples.clear();
    undo.clear();
    open = Sample();
    open.start = now;
}

void KoValidationSession::Pause()
{
    if (state == State::Running)
        state = State::Paused;
}

void KoValidationSession::Resume()
{
    if (state == State::Paused)
        state = State::Running;
}

void KoValidationSession::Stop(const QDateTime& now)
{
    if (state != State::Running && state != State::Paused)
        return;
    MarkSample(now);
    state = State::Stopped;
    ended = now;
}

bool KoValidationSession::Hand(int door, int direction)
{
    if (state != State::Running || door < 0 || door >= doors || direction < In ||
        direction > Out)
        return false;
    ++open.doors[size_t(door)].hand[size_t(direction)];
    undo.append({door, direction});
    return true;
}

bool KoValidationSession::Undo()
{
    if (state != State::Running || undo.isEmpty())
        return false;
    const QPair<int, int> last = undo.takeLast();
    --open.doors[size_t(last.first)].hand[size_t(last.second)];
    return true;
}

void KoValidationSession::DeviceCounters(int door, int in_count, int out_count)
{
    if (door < 0 || door >= MaxDoors)
        return;
    const std::array<int, 2> now{in_count, out_count};
    std::array<int, 2>& last = counters[size_t(door)];
    for (size_t dir = 0; dir < 2; ++dir) {
        // A counter that went back started again from 0 (the device
        // restarted): all it shows now is new.
        const int grown = !countersKnown[size_t(door)] ? 0
                          : now[dir] >= last[dir]      ? now[dir] - last[dir]
                                                       : now[dir];
        if (state == State::Running && door < doors)
            open.doors[size_t(door)].device[dir] += grown;
        last[dir] = now[dir];
    }
    countersKnown[size_t(door)] = true;
}

bool KoValidationSession::MarkSample(const QDateTime& now)
{
    if ((state != State::Running && state != State::Paused) || open.Empty())
        return false;
    open.end = now;
    samples.append(open);
    open = Sample();
    open.start = now;
    undo.clear();
    return true;
}

KoValidationSession::Sample KoValidationSession::Total() const
{
    Sample total = open;
    total.start = started;
    total.end = ended;
    for (const Sample& s : samples) {
        for (size_t d = 0; d < MaxDoors; ++d) {
            for (size_t dir = 0; dir < 2; ++dir) {
                total.doors[d].hand[dir] += s.doors[d].hand[dir];
                total.doors[d].device[dir] += s.doors[d].device[dir];
            }
        }
    }
    return total;
}

KoValidationSession::Row KoValidationSession::RowOf(int door, int direction,
                                                    double tolerance) const
{
    Row row;
    row.door = door;
    row.direction = direction;
    const Sample total = Total();
    row.hand = total.Hand(door, direction);
    row.device = total.Device(door, direction);
    QVector<QPair<int, int>> pairs;
    for (const Sample& s : samples)
        pairs.append({s.Hand(door, direction), s.Device(door, direction)});
    row.stats = KoValidationStats::Judge(KoValidationStats::Deviations(pairs), tolerance);
    return row;
}

QVector<KoValidationSession::Row> KoValidationSession::Rows(double tolerance) const
{
    QVector<Row> rows;
    for (int d = 0; d < doors; ++d) {
        rows.append(RowOf(d, In, tolerance));
        rows.append(RowOf(d, Out, tolerance));
    }
    rows.append(RowOf(-1, In, tolerance));
    rows.append(RowOf(-1, Out, tolerance));
    rows.append(RowOf(-1, -1, tolerance));
    return rows;
}
