#pragma once

// The settings file that fault_settings_writer rewrites again and again:
// generation g gives every key a value made of g, so a file that one write
// made whole is exactly FaultSettings(g).Bytes() for the g of its first line.

#include "ko_settings_writer.h"

#include <string>

inline KoSettingsWriter FaultSettings(qlonglong generation)
{
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddNumber("GENERATION", generation);
    for (int i = 0; i < 20000; ++i) // about 500 KB
        writer.AddNumber("KEY_" + std::to_string(i), generation * 100000 + i);
    return writer;
}
