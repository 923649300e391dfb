#include "ko_address_check.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QStringList>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isLabelChar(QChar c)
{
    return isAsciiDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || c == QLatin1Char('-');
}

bool allDigits(const QString& text)
{
    for (const QChar c : text)
        if (!isAsciiDigit(c))
            return false;
    return !text.isEmpty();
}

} // namespace

bool KoAddressCheck::IsIpv4(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString& part : parts) {
        if (!allDigits(part) || part.size() > 3 ||
            (part.size() > 1 && part.startsWith(QLatin1Char('0'))))
            return false;
        if (part.toInt() > 255)
            return false;
    }
    return true;
}

bool KoAddressCheck::IsHostName(const QString& text)
{
    if (text.isEmpty() || text.size() > 253)
        return false;
    const QStringList labels = text.split(QLatin1Char('.'));
    for (const QString& label : labels) {
        if (label.isEmpty() || label.size() > 63 || label.startsWith(QLatin1Char('-')) ||
            label.endsWith(QLatin1Char('-')))
            return false;
        for (const QChar c : label)
            if (!isLabelChar(c))
                return false;
    }
    return !allDigits(labels.last());
}

bool KoAddressCheck::IsServerAddress(const QString& text)
{
    return IsIpv4(text) || IsHostName(text);
}

bool KoAddressCheck::IsDeviceHost(const QString& text)
{
    if (IsIpv4(text) || IsHostName(text))
        return true;
    QHostAddress address;
    return text.contains(QLatin1Char(':')) && address.setAddress(text) &&
           address.protocol() == QAbstractSocket::IPv6Protocol;
}

bool KoAddressCheck::ParsePort(const QString& text, quint16* port)
{
    if (!allDigits(text) || text.size() > 5)
        return false;
    const int value = text.toInt();
    if (value < 1 || value > 65535)
        return false;
    if (port)
        *port = static_cast<quint16>(value);
    return true;
}
