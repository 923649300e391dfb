#pragma once

#include <map>
#include <string>

// Reader of the key/value settings files. Only keys registered with AddKey
// are kept; each starts as "default" and a file line replaces its value.
// Used once on the stack and dropped.
class KoSettingsFile
{
public:
    // The value of a key that no line of the file gave.
    static const char* const DefaultValue;
    // Anything larger is no settings file of ours and is not read.
    static constexpr long MaxFileSize = 1024 * 1024;

    KoSettingsFile() = default;

    void AddKey(const std::string& key);
    // False, with every value unchanged, when the file cannot be read.
    bool Load(const std::string& path);
    void ParseText(const std::string& text);
    // True when the line stored a value, false when it was ignored.
    bool ParseLine(const std::string& line);

    std::map<std::string, std::string> Values;
};
