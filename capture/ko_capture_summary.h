#pragma once

#include "ko_capture_reader.h"

#include <array>
#include <map>

// What a capture holds, as the tool would see it replayed: its chunks run
// through the link's frame parser and message decoder (pictures are not
// decompressed). Reads the capture to its end or its damage.
struct KoCaptureSummary
{
    qint64 chunks = 0;
    qint64 bytes = 0;
    std::map<int, qint64> messagesByCode; // every frame that holds a type code
    qint64 dropped = 0;                   // of those, bodies that break their code's rules
    quint64 badFrames = 0;                // frames the parser threw away
    // Pictures and tracked-object messages of doors 0 to 3 that the panels get.
    std::array<qint64, 4> pictures{};
    std::array<qint64, 4> tracked{};

    static KoCaptureSummary Of(KoCaptureReader& reader);
};
