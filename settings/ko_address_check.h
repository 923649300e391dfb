#pragma once

#include <QString>

// Checks of the addresses the operator types and the settings files hold.
class KoAddressCheck
{
public:
    // Four decimal numbers from 0 to 255 joined by dots, without leading
    // zeros (which some readers take as octal): "10.1.2.3", not "999.1.1".
    static bool IsIpv4(const QString& text);
    // A host name: dot-separated labels of letters, digits and inner
    // hyphens, at most 63 characters each and 253 in all, the last one not
    // all digits (so "999.1.1" is no name either).
    static bool IsHostName(const QString& text);
    // What the server settings take: an IPv4 address or a host name.
    static bool IsServerAddress(const QString& text);
    // What the link can connect to: an IPv4 or IPv6 address or a host name.
    static bool IsDeviceHost(const QString& text);
    // A TCP port written in decimal, 1 to 65535, nothing else in the text.
    static bool ParsePort(const QString& text, quint16* port);
};
