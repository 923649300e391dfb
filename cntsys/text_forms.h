#pragma once

// Text forms of the system unit's addresses, ports and time zones, as the
// settings form, the profile file and the change log write and read them.
// The parsers leave their output untouched when they refuse a text.

#include <cstdint>
#include <string>

namespace cntsys {

// "192.168.0.10": the four octets in decimal, first octet first.
std::string IpToText(uint32_t ip);
// Exactly four decimal parts of at most 255 separated by "."; blanks and a
// "+" before a part are accepted, nothing after the last one.
bool TextToIp(const std::string& text, uint32_t& ip);

std::string PortToText(uint16_t port);
// An unsigned decimal number of at most 65535 covering the whole text.
bool TextToPort(const std::string& text, uint16_t& port);

// 180 gives "+3", 330 "+5:30", -90 "-1:30", -30 "-0:30".
std::string TimeZoneToText(int16_t time_zone);
// A signed hour count, optionally ":" and minutes 0..59; a "-" before the
// hours makes the minutes negative too ("-1:30" is -90, "-0:30" is -30).
bool TextToTimeZone(const std::string& text, int16_t& time_zone);

} // namespace cntsys
