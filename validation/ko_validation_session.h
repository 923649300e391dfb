#pragma once

#include "ko_validation_stats.h"

#include <QDateTime>
#include <QPair>
#include <QVector>

#include <array>

// A door validation: hand counts against the device's counts, door by door
// and in both directions, in samples (a door opening, a stop) closed by the
// operator. No clock and no widget: the window tells it the time and what
// the device and the operator counted.
class KoValidationSession
{
public:
    static constexpr int MaxDoors = 4;
    enum Direction
    {
        In = 0,
        Out = 1,
    };
    enum class State
    {
        Idle,    // nothing counted yet
        Running, // hand and device counts go into the open sample
        Paused,  // neither does
        Stopped, // finished; the figures stay until the next start
    };

    // Counts of one door, by direction.
    struct DoorCounts
    {
        std::array<int, 2> hand{};
        std::array<int, 2> device{};
    };
    struct Sample
    {
        QDateTime start;
        QDateTime end;
        std::array<DoorCounts, MaxDoors> doors{};

        int Hand(int door, int direction) const;   // door -1: all doors
        int Device(int door, int direction) const; // direction -1: both
        bool Empty() const;
    };
    // A row of figures: one door (or -1, all doors) in one direction (or -1, both).
    struct Row
    {
        int door = -1;
        int direction = -1;
        int hand = 0;
        int device = 0;
        KoValidationStats::Figures stats;

        int Difference() const { return device - hand; }
        // (device - hand) / hand; not a number without a hand count.
        double Relative() const;
    };

    State CurrentState() const { return state; }
    int Doors() const { return doors; }
    QDateTime Started() const { return started; }
    QDateTime Ended() const { return ended; }

    // A new session over doors doors (1 to MaxDoors): everything before is
    // forgotten; the device's counts count from their present values.
    void Start(const QDateTime& now, int doors);
    void Pause();
    void Resume();
    // Closes the open sample (if anything was counted in it) and ends.
    void Stop(const QDateTime& now);

    // One person by hand; false when not running or no such door.
    bool Hand(int door, int direction);
    // Takes back the last hand count of the open sample; false when none.
    bool Undo();
    // The device's counters of a door as it reports them (they only grow,
    // unless it started again). What they grew by while running counts.
    void DeviceCounters(int door, int in_count, int out_count);
    // Closes the open sample; false when nothing was counted in it.
    bool MarkSample(const QDateTime& now);

    const QVector<Sample>& Samples() const { return samples; }
    const Sample& Open() const { return open; }
    // Everything counted since the start, the open sample included.
    Sample Total() const;

    // Per door and direction, then all doors in, out and both; the sample
    // figures over the closed samples, against tolerance (0.05 is 5 %).
    QVector<Row> Rows(double tolerance) const;
    Row RowOf(int door, int direction, double tolerance) const;

private:
    State state = State::Idle;
    int doors = 0;
    QDateTime started;
    QDateTime ended;
    Sample open;
    QVector<Sample> samples;
    QVector<QPair<int, int>> undo; // door, direction of the open sample's hand counts
    std::array<std::array<int, 2>, MaxDoors> counters{}; // the device's last counters
    std::array<bool, MaxDoors> countersKnown{};
};
