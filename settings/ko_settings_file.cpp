#include "ko_settings_file.h"

#include <cstdio>
#include <memory>

const char* const KoSettingsFile::DefaultValue = "default";

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// What may follow a value: blanks, line ends and the ";" the writers put there.
bool IsTrailer(char c)
{
    return IsBlank(c) || c == '\r' || c == '\n' || c == ';';
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void KoSettingsFile::AddKey(const std::string& key)
{
    Values[key] = DefaultValue;
}

bool KoSettingsFile::Load(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;

    // Read what is actually there rather than trusting a size from seeking:
    // a folder opens but cannot be read, and a file may change meanwhile.
    std::string text;
    char chunk[4096];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
        text.append(chunk, got);
        if (text.size() > static_cast<size_t>(MaxFileSize))
            return false;
        if (got < sizeof chunk)
            break;
    }
    if (std::ferror(file.get()))
        return false;

    ParseText(text);
    return true;
}

void KoSettingsFile::ParseText(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        const size_t end = lf == std::string::npos ? text.size() : lf;
        ParseLine(text.substr(start, end - start));
        start = end + 1;
    }
}

bool KoSettingsFile::ParseLine(const std::string& line)
{
    const size_t size = line.size();
    size_t pos = 0;

    while (pos < size && IsBlank(line[pos]))
        ++pos;
    const size_t key_start = pos;
    while (pos < size && line[pos] != '=' && !IsBlank(line[pos]))
        ++pos;
    if (pos == key_start)
        return false;
    const char first = line[key_start];
    if (first == ';' || first == '\r' || first == '\n')
        return false;
    const std::string key = line.substr(key_start, pos - key_start);

    while (pos < size && IsBlank(line[pos]))
        ++pos;
    if (pos == size || line[pos] != '=')
        return false;
    ++pos;
    while (pos < size && IsBlank(line[pos]))
        ++pos;

    const size_t value_start = pos;
    while (pos < size && !IsTrailer(line[pos]))
        ++pos;
    const size_t value_end = pos;

    while (pos < size && IsTrailer(line[pos]))
        ++pos;
    if (pos != size)
        return false;

    const auto entry = Values.find(key);
    if (entry == Values.end())
        return false;
    entry->second = line.substr(value_start, value_end - value_start);
    return true;
}
