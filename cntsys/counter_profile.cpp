#include "counter_profile.h"

#include "ko_settings_file.h"
#include "ko_settings_writer.h"
#include "text_forms.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace cntsys {

const char* const CounterProfile::FileName = "block_net.txt";

namespace {

const char* const Keys[] = {"lan_ip",  "lan_mask", "lan_port", "lan_gate",
                            "lan_dns", "srv_ip",   "srv_port", "time_zone"};

// The leading number of text in the manner of std::stoi, trailing characters
// ignored; a zone beyond the record's 16 bits is refused.
bool leadingTimeZone(const std::string& text, int16_t& zone)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < INT16_MIN || value > INT16_MAX)
        return false;
    zone = static_cast<int16_t>(value);
    return true;
}

} // namespace

bool CounterProfile::SaveToFile(const QString& path) const
{
    KoSettingsWriter writer(KoSettingsWriter::Terminator::SemicolonCrLf);
    writer.AddText("lan_ip", QString::fromStdString(IpToText(lan.ip)));
    writer.AddText("lan_mask", QString::fromStdString(IpToText(lan.mask)));
    writer.AddNumber("lan_port", lan.port);
    writer.AddText("lan_gate", QString::fromStdString(IpToText(lan.gate)));
    writer.AddText("lan_dns", QString::fromStdString(IpToText(lan.dns)));
    writer.AddText("srv_ip", QString::fromStdString(IpToText(srv.ip)));
    writer.AddNumber("srv_port", srv.port);
    writer.AddNumber("time_zone", time.time_zone);
    return writer.Save(path);
}

bool CounterProfile::LoadFromFile(const QString& path)
{
    KoSettingsFile file;
    for (const char* key : Keys)
        file.AddKey(key);
    if (!file.Load(path.toStdString()))
        return false;

    const std::string def = KoSettingsFile::DefaultValue;
    auto ip = [&](const char* key, uint32_t& field) {
        const std::string& v = file.Values[key];
        return v == def || TextToIp(v, field);
    };
    auto port = [&](const char* key, uint16_t& field) {
        const std::string& v = file.Values[key];
        return v == def || TextToPort(v, field);
    };
    if (!ip("lan_ip", lan.ip) || !ip("lan_mask", lan.mask) || !port("lan_port", lan.port) ||
        !ip("lan_gate", lan.gate) || !ip("lan_dns", lan.dns) || !ip("srv_ip", srv.ip) ||
        !port("srv_port", srv.port))
        return false;
    const std::string& zone = file.Values["time_zone"];
    if (zone == def) {
        time.time_zone = DefaultTimeZone;
        return true;
    }
    return leadingTimeZone(zone, time.time_zone);
}

void CounterProfile::RegisterMetaTypes()
{
    qRegisterMetaType<CounterProfile>();
    qRegisterMetaType<CounterProfile>("CounterProfile");
    qRegisterMetaType<TimeParams>();
    qRegisterMetaType<TimeParams>("TimeParams");
    qRegisterMetaType<TimeParams>("cntsys::TimeParams");
}

} // namespace cntsys
