#include "people_sim.h"

#include <algorithm>
#include <cmath>

namespace {

// A vehicle stands at a stop for about half a minute, then drives for a
// while; people only pass while the doors are open.
constexpr double OpenSeconds = 25;
constexpr double ClosedSeconds = 15;
constexpr size_t MaxPeople = 10;

const uint8_t HairColours[][3] = {{20, 20, 25},    {30, 45, 70},  {60, 110, 160},
                                  {150, 150, 150}, {40, 60, 120}, {25, 30, 40}};
const uint8_t ShirtColours[][3] = {{140, 60, 30}, {40, 40, 160},  {60, 130, 60},  {200, 200, 200},
                                   {30, 30, 30},  {50, 150, 200}, {120, 70, 130}, {90, 90, 90}};

} // namespace

PeopleSim::PeopleSim(int pass_id, uint64_t seed, const SimErrorModel& errors)
    : passId(pass_id), random(seed * 1000003ULL + static_cast<uint64_t>(pass_id) * 7919ULL + 17),
      errors(errors)
{
    // Generators of their own: the people walk the same with or without errors.
    for (uint64_t d = 0; d < 2; ++d)
        errorRandom[d].seed(seed * 2654435761ULL + static_cast<uint64_t>(pass_id) * 97ULL + d + 5);
    SetUserParams(DefaultUserParams());
    nextId = pass_id * 100000 + 1;
    // Doors do not open in step on every pass of one vehicle.
    doorOpen = true;
    phaseLeft = Uniform(OpenSeconds * 0.5, OpenSeconds * 1.2);
    nextGroupIn = Uniform(0.2, 1.5);
}

KoUserParams PeopleSim::DefaultUserParams()
{
    KoUserParams p;
    p.line = {QPointF(0.2, 1.0), QPointF(0.35, 0.55), QPointF(0.65, 0.55), QPointF(0.8, 1.0)};
    p.count = p.line.size();
    p.zone = QRectF(0.05, 0.05, 0.9, 0.9);
    return p;
}

void PeopleSim::SetUserParams(const KoUserParams& params)
{
    userParams = params;
    line.SetPoints(params.line);
}

double PeopleSim::Uniform(double low, double high)
{
    return std::uniform_real_distribution<double>(low, high)(random);
}

int32_t PeopleSim::AddPerson(double x, double y, double vx, double vy)
{
    SimPerson p;
    p.id = nextId++;
    p.x = x;
    p.y = y;
    p.vx = vx;
    p.vy = vy;
    people.push_back(p);
    return p.id;
}

void PeopleSim::SpawnGroup()
{
    // Boarding people come up from the steps at the bottom and keep right
    // (the picture's right half); alighting people walk down on the left.
    const bool boarding = Uniform(0, 1) < 0.55;
    const double r = Uniform(0, 1);
    const int size = r < 0.5 ? 1 : (r < 0.8 ? 2 : (r < 0.95 ? 3 : 4));
    const double speed = Uniform(0.28, 0.5); // about 1.2 m/s over a 2.4 m picture
    double offset = 0;
    for (int k = 0; k < size && people.size() < MaxPeople; ++k) {
        SimPerson p;
        p.id = nextId++;
        if (nextId >= (passId + 1) * 100000)
            nextId = passId * 100000 + 1;
        p.x = boarding ? Uniform(0.52, 0.66) : Uniform(0.34, 0.48);
        p.y = boarding ? 1.1 + offset : -0.1 - offset;
        const double v = speed * Uniform(0.95, 1.05);
        p.vy = boarding ? -v : v;
        p.vx = Uniform(-0.02, 0.02);
        p.headRadius = Uniform(0.028, 0.04);
        p.heightCm = static_cast<int>(Uniform(150, 195));
        const auto& hair = HairColours[random() % (sizeof(HairColours) / sizeof(HairColours[0]))];
        const auto& shirt =
            ShirtColours[random() % (sizeof(ShirtColours) / sizeof(ShirtColours[0]))];
        std::copy(hair, hair + 3, p.hair);
        std::copy(shirt, shirt + 3, p.shirt);
        people.push_back(p);
        offset += Uniform(0.16, 0.3);
    }
}

void PeopleSim::Step(double dt)
{
    if (autoSpawn) {
        phaseLeft -= dt;
        if (phaseLeft <= 0) {
            doorOpen = !doorOpen;
            phaseLeft = doorOpen ? Uniform(OpenSeconds * 0.6, OpenSeconds * 1.4)
                                 : Uniform(ClosedSeconds * 0.6, ClosedSeconds * 1.4);
        }
        if (doorOpen) {
            nextGroupIn -= dt;
            if (nextGroupIn <= 0) {
                SpawnGroup();
                nextGroupIn = Uniform(1.0, 5.0);
            }
        }
    }

    for (SimPerson& p : people) {
        const QPointF from(p.x, p.y);
        p.x += p.vx * dt;
        p.y += p.vy * dt;
        const int crossing = line.Crossing(from, QPointF(p.x, p.y));
        if (crossing > 0) {
            Cross(true);
            p.state = 2;
        } else if (crossing < 0) {
            Cross(false);
            p.state = 4;
        }
        if (p.Visible())
            ++p.trackLength;
    }
    people.erase(std::remove_if(people.begin(), people.end(),
                                [](const SimPerson& p) {
                                    return p.y < -0.6 || p.y > 1.6 || p.x < -0.6 || p.x > 1.6;
                                }),
                 people.end());
}

void PeopleSim::Cross(bool in)
{
    // Two draws for every crossing, whatever the rates: the k-th crossing
    // gets the same draws in every run.
    std::mt19937_64& r = errorRandom[in ? 0 : 1];
    std::uniform_real_distribution<double> draw(0, 1);
    const bool missed = draw(r) < errors.missRate;
    const bool extra = draw(r) < errors.extraRate;
    const int counted = (missed ? 0 : 1) + (extra ? 1 : 0);
    (in ? trueIn : trueOut) += 1;
    (in ? inCount : outCount) += counted;
    crossings.push_back({passId, in, counted});
}

std::vector<SimCrossing> PeopleSim::TakeCrossings()
{
    std::vector<SimCrossing> taken;
    taken.swap(crossings);
    return taken;
}

std::vector<KoObjectData> PeopleSim::Objects(int width, int height, int64_t stamp_ms) const
{
    std::vector<KoObjectData> objects;
    for (const SimPerson& p : people) {
        if (!p.Visible())
            continue;
        KoObjectData o;
        o.id = p.id;
        o.stamp = stamp_ms;
        o.aux1 = p.heightCm;
        o.aux2 = static_cast<int32_t>(std::lround(p.headRadius * width));
        o.aux3 = static_cast<int32_t>(std::lround(p.vx * 1000));
        o.aux4 = static_cast<int32_t>(std::lround(p.vy * 1000));
        o.x = static_cast<int32_t>(std::lround(p.x * (width - 1)));
        o.y = static_cast<int32_t>(std::lround(p.y * (height - 1)));
        o.state = p.state;
        o.trackLength = p.trackLength;
        objects.push_back(o);
    }
    return objects;
}
