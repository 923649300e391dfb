// Any text as a settings file: the reader keeps only registered keys and
// never reads past the text.
#include "ko_settings_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KoSettingsFile file;
    for (const char* key : {"ip", "port", "language", "data_dir", ""})
        file.AddKey(key);
    file.ParseText(std::string(reinterpret_cast<const char*>(data), size));
    if (file.Values.size() > 5)
        __builtin_trap();
    return 0;
}
