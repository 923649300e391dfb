#pragma once

#include "counting_line.h"
#include "ko_device_records.h"

#include <cstdint>
#include <random>
#include <vector>

// How the device errs: of the true crossings it misses some and counts some
// twice, each crossing drawn on its own from a generator seeded per pass and
// direction, so that the k-th crossing of a door in one direction fares the
// same in every run with the same seed.
struct SimErrorModel
{
    double missRate = 0;  // a crossing not counted
    double extraRate = 0; // a crossing counted once more
};

// A true crossing and what the device counted of it (0, 1 or 2).
struct SimCrossing
{
    int passId = 0;
    bool in = true;
    int counted = 1;
};

// One person under a pass's camera, seen from above.
struct SimPerson
{
    int32_t id = 0;
    double x = 0, y = 0;       // head centre, normalised to the picture
    double vx = 0, vy = 0;     // picture heights per second
    double headRadius = 0.035; // of the picture width
    int heightCm = 175;
    int trackLength = 0;            // frames seen
    int32_t state = 1;              // 1 tracked, 2 counted in, 4 counted out
    uint8_t hair[3] = {30, 30, 30}; // blue, green, red
    uint8_t shirt[3] = {120, 80, 40};

    bool Visible() const { return x >= 0 && x <= 1 && y >= 0 && y <= 1; }
};

// The people of one pass: small groups walking through the door in both
// directions while the vehicle stands at a stop, counted when they cross the
// pass's counting line. No clock of its own: the caller steps it.
class PeopleSim
{
public:
    PeopleSim(int pass_id, uint64_t seed, const SimErrorModel& errors = SimErrorModel());

    // Advances everyone by dt seconds and counts the crossings.
    void Step(double dt);

    void SetUserParams(const KoUserParams& params);
    const KoUserParams& UserParams() const { return userParams; }

    // For tests: no people of their own, only those added.
    void SetAutoSpawn(bool on) { autoSpawn = on; }
    int32_t AddPerson(double x, double y, double vx, double vy);

    const std::vector<SimPerson>& People() const { return people; }
    // The visible people as the device reports them, in pixels of a picture
    // of the given size.
    std::vector<KoObjectData> Objects(int width, int height, int64_t stamp_ms) const;

    // The device's counts (the error model applied) and the true ones.
    int InCount() const { return inCount; }
    int OutCount() const { return outCount; }
    int TrueInCount() const { return trueIn; }
    int TrueOutCount() const { return trueOut; }
    // The crossings since the last call, in the order they happened.
    std::vector<SimCrossing> TakeCrossings();
    int PassId() const { return passId; }

    // The default counting line: an arch rising from the bottom edge.
    static KoUserParams DefaultUserParams();

private:
    void SpawnGroup();
    void Cross(bool in);
    double Uniform(double low, double high);

    int passId;
    std::mt19937_64 random;
    KoUserParams userParams;
    CountingLine line;
    std::vector<SimPerson> people;
    bool autoSpawn = true;
    bool doorOpen = true;
    double phaseLeft = 0;   // seconds until the door opens or closes
    double nextGroupIn = 0; // seconds until the next group while open
    int32_t nextId = 1;
    int inCount = 0;
    int outCount = 0;
    int trueIn = 0;
    int trueOut = 0;
    SimErrorModel errors;
    std::mt19937_64 errorRandom[2]; // in, out
    std::vector<SimCrossing> crossings;
};
