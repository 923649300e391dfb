#include "text_forms.h"

#include <cctype>
#include <cstdlib>

namespace cntsys {

namespace {

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// Reads a number the way std::stoul and std::stoi do (leading blanks, a sign,
// at least one digit) from text[pos], advancing pos past it. Negative values
// are accepted only when allow_minus is set. Values beyond limit are refused.
bool readNumber(const std::string& text, size_t& pos, bool allow_minus, long long limit,
                long long& value, bool& negative)
{
    size_t i = pos;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        if (negative && !allow_minus)
            return false;
        ++i;
    }
    const size_t first_digit = i;
    long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit)
            return false;
        ++i;
    }
    if (i == first_digit)
        return false;
    value = negative ? -magnitude : magnitude;
    pos = i;
    return true;
}

bool readUnsigned(const std::string& text, size_t& pos, long long limit, long long& value)
{
    bool negative = false;
    return readNumber(text, pos, false, limit, value, negative);
}

} // namespace

std::string IpToText(uint32_t ip)
{
    return std::to_string(ip >> 24) + "." + std::to_string((ip >> 16) & 0xFF) + "." +
           std::to_string((ip >> 8) & 0xFF) + "." + std::to_string(ip & 0xFF);
}

bool TextToIp(const std::string& text, uint32_t& ip)
{
    size_t pos = 0;
    uint32_t result = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (pos >= text.size() || text[pos] != '.')
                return false;
            ++pos;
        }
        long long octet = 0;
        if (!readUnsigned(text, pos, 255, octet))
            return false;
        result = (result << 8) | static_cast<uint32_t>(octet);
    }
    if (pos != text.size())
        return false;
    ip = result;
    return true;
}

std::string PortToText(uint16_t port)
{
    return std::to_string(port);
}

bool TextToPort(const std::string& text, uint16_t& port)
{
    size_t pos = 0;
    long long value = 0;
    if (!readUnsigned(text, pos, 65535, value) || pos != text.size())
        return false;
    port = static_cast<uint16_t>(value);
    return true;
}

std::string TimeZoneToText(int16_t time_zone)
{
    // The sign belongs to the whole offset, so that -30 does not print as +0:30.
    const int magnitude = std::abs(static_cast<int>(time_zone));
    const int hours = magnitude / 60;
    const int minutes = magnitude % 60;
    std::string text = (time_zone < 0 ? "-" : "+") + std::to_string(hours);
    if (minutes != 0)
        text += (minutes < 10 ? ":0" : ":") + std::to_string(minutes);
    return text;
}

bool TextToTimeZone(const std::string& text, int16_t& time_zone)
{
    size_t pos = 0;
    long long hours = 0;
    bool negative = false;
    // Any hour count past the int16 range of minutes is refused.
    if (!readNumber(text, pos, true, 32768 / 60 + 1, hours, negative))
        return false;
    long long minutes = 0;
    if (pos < text.size()) {
        if (text[pos] != ':')
            return false;
        ++pos;
        if (!readUnsigned(text, pos, 59, minutes) || pos != text.size())
            return false;
    }
    const long long total = hours * 60 + (negative ? -minutes : minutes);
    if (total < INT16_MIN || total > INT16_MAX)
        return false;
    time_zone = static_cast<int16_t>(total);
    return true;
}

} // namespace cntsys
