// Any bytes as a configuration file: what is read keeps to the bounds (four
// doors at most, one each, lines of at most MaxLinePoints points), and what
// it writes reads back and writes the same again.
#include "ko_config_profile.h"

#include <cstddef>
#include <cstdint>

// Qt's JSON parser loses the earlier value of a key that is repeated in an
// object (a few bytes per damaged file, nothing of ours); only that module's
// leaks are let pass (its stack is all a report of that loss shows).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt5Core.so.5\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KoConfigProfile profile;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (!KoConfigProfile::FromJson(bytes, &profile, nullptr))
        return 0;
    if (profile.doors.size() > 4)
        __builtin_trap();
    for (const KoConfigProfile::Door& door : profile.doors) {
        if (profile.DoorOf(door.pass) != &door || door.line.line.size() > KoConfigProfile::MaxLinePoints)
            __builtin_trap();
        // The checks never fail on what the reader took.
        KoConfigProfile::CheckLine(door.line);
        KoConfigProfile::CheckMount(door.mount);
    }
    const QByteArray written = profile.ToJson();
    KoConfigProfile again;
    if (!KoConfigProfile::FromJson(written, &again, nullptr) || again.ToJson() != written)
        __builtin_trap();
    return 0;
}
