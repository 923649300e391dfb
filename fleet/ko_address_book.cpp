#include "ko_address_book.h"

#include "ko_csv.h"
#include "settings/ko_address_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QTextCodec>

#include <climits>
#include <cmath>
#include <utility>

const char* const KoAddressBook::FormatName = "velmora-address-book";
const QStringList KoAddressBook::CsvColumns = {
    QStringLiteral("name"),           QStringLiteral("vehicle"),
    QStringLiteral("doors"),          QStringLiteral("host"),
    QStringLiteral("port"),           QStringLiteral("notes"),
    QStringLiteral("last_connected"), QStringLiteral("software_version")};

namespace {

// Line breaks and tabs only where the text may have lines (the notes); no
// half of a surrogate pair, which UTF-8 cannot keep.
bool plainText(const QString& text, bool lines)
{
    if (QString::fromUtf8(text.toUtf8()) != text)
        return false;
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control &&
            !(lines && (c == QLatin1Char('\n') || c == QLatin1Char('\t'))))
            return false;
    }
    return true;
}

// A whole number in [low, high] written as JSON or CSV gives it.
bool wholeNumber(double value, int low, int high, int* out)
{
    if (!std::isfinite(value) || value != std::floor(value) || value < low || value > high)
        return false;
    *out = int(value);
    return true;
}

bool parseDate(const QString& text, QDateTime* date)
{
    if (text.isEmpty()) {
        *date = QDateTime();
        return true;
    }
    // Only the form this tool writes, so that nothing is guessed; to the
    // second, as it writes it.
    const QDateTime parsed =
        text.size() > 40 ? QDateTime() : QDateTime::fromString(text, Qt::ISODate).toUTC();
    if (!parsed.isValid() || parsed.date().year() < 1970 || parsed.date().year() > 9999)
        return false;
    *date = QDateTime::fromSecsSinceEpoch(parsed.toSecsSinceEpoch(), Qt::UTC);
    return true;
}

} // namespace

QString KoAddressBook::Check(const KoFleetDevice& d)
{
    if (d.name.trimmed().isEmpty())
        return tr("the name is empty");
    if (d.name.size() > MaxName || !plainText(d.name, false))
        return tr("the name is longer than %1 characters or holds control characters").arg(MaxName);
    if (d.vehicle.size() > MaxVehicle || !plainText(d.vehicle, false))
        return tr("the vehicle number is longer than %1 characters or holds control characters")
            .arg(MaxVehicle);
    if (d.doors < 0 || d.doors > 4)
        return tr("%1 doors: a device has 1 to 4 (0 while unknown)").arg(d.doors);
    if (!KoAddressCheck::IsDeviceHost(d.host))
        return tr("\"%1\" is neither an IP address nor a host name").arg(d.host.left(MaxName));
    if (d.port == 0)
        return tr("port 0: a port is 1 to 65535");
    if (d.notes.size() > MaxNotes || !plainText(d.notes, true))
        return tr("the notes are longer than %1 characters or hold control characters")
            .arg(MaxNotes);
    if (d.softwareVersion.size() > MaxVersion || !plainText(d.softwareVersion, false))
        return tr("the software version is longer than %1 characters").arg(MaxVersion);
    return QString();
}

int KoAddressBook::IndexOf(const QString& host, quint16 port) const
{
    for (int i = 0; i < devices.size(); ++i) {
        if (devices[i].port == port && devices[i].host.compare(host, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool KoAddressBook::Matches(const KoFleetDevice& d, const QString& search)
{
    const QString all =
        QStringList{d.name, d.vehicle, d.host, QString::number(d.port), d.notes, d.softwareVersion}
            .join(QLatin1Char('\n'));
    const QStringList words = search.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (!all.contains(word, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QString KoAddressBook::DateText(const QDateTime& utc)
{
    return utc.isValid() ? utc.toUTC().toString(Qt::ISODate) : QString();
}

QString KoAddressBook::ShownDate(const QDateTime& utc)
{
    return utc.isValid() ? utc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                         : QString();
}

QByteArray KoAddressBook::ToJson() const
{
    QJsonArray list;
    for (const KoFleetDevice& d : devices) {
        QJsonObject o;
        o.insert(QStringLiteral("name"), d.name);
        o.insert(QStringLiteral("vehicle"), d.vehicle);
        o.insert(QStringLiteral("doors"), d.doors);
        o.insert(QStringLiteral("host"), d.host);
        o.insert(QStringLiteral("port"), d.port);
        o.insert(QStringLiteral("notes"), d.notes);
        o.insert(QStringLiteral("lastConnected"), DateText(d.lastConnected));
        o.insert(QStringLiteral("softwareVersion"), d.softwareVersion);
        list.append(o);
    }
    QJsonObject top;
    top.insert(QStringLiteral("format"), QLatin1String(FormatName));
    top.insert(QStringLiteral("version"), FormatVersion);
    top.insert(QStringLiteral("devices"), list);
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool KoAddressBook::FromJson(const QByteArray& bytes, KoAddressBook* book, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.size() > MaxFileBytes)
        return fail(tr("the file is larger than %1 MiB").arg(MaxFileBytes / (1024 * 1024)));
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError)
        return fail(
            tr("it is not JSON (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset));
    const QJsonObject top = doc.object();
    if (!doc.isObject() ||
        top.value(QStringLiteral("format")).toString() != QLatin1String(FormatName))
        return fail(tr("it is no address book"));
    int version = 0;
    if (!wholeNumber(top.value(QStringLiteral("version")).toDouble(-1), 1, INT_MAX, &version))
        return fail(tr("its format version is missing"));
    if (version > FormatVersion)
        return fail(tr("it was written by a newer configurator (format %1; this one reads format "
                       "%2 and older)")
                        .arg(version)
                        .arg(FormatVersion));
    const QJsonValue list_value = top.value(QStringLiteral("devices"));
    if (!list_value.isArray())
        return fail(tr("it has no list of devices"));
    const QJsonArray list = list_value.toArray();
    if (list.size() > MaxDevices)
        return fail(tr("it holds more than %1 devices").arg(MaxDevices));

    KoAddressBook read;
    for (int i = 0; i < list.size(); ++i) {
        const auto bad = [&](const QString& why) {
            return fail(tr("device %1: %2").arg(i + 1).arg(why));
        };
        if (!list[i].isObject())
            return bad(tr("not an object"));
        const QJsonObject o = list[i].toObject();
        KoFleetDevice d;
        // Texts are texts where present; name, host and port must be.
        const auto text = [&o](const char* key, QString* out, bool required) {
            const QJsonValue v = o.value(QLatin1String(key));
            if (v.isUndefined() && !required)
                return true;
            if (!v.isString())
                return false;
            *out = v.toString();
            return true;
        };
        QString date;
        for (const auto& field : {std::make_pair("name", &d.name), std::make_pair("host", &d.host)})
            if (!text(field.first, field.second, true))
                return bad(tr("\"%1\" is missing or not a text").arg(QLatin1String(field.first)));
        for (const auto& field :
             {std::make_pair("vehicle", &d.vehicle), std::make_pair("notes", &d.notes),
              std::make_pair("softwareVersion", &d.softwareVersion),
              std::make_pair("lastConnected", &date)})
            if (!text(field.first, field.second, false))
                return bad(tr("\"%1\" is not a text").arg(QLatin1String(field.first)));
        int port = 0;
        if (!wholeNumber(o.value(QStringLiteral("port")).toDouble(-1), 1, 65535, &port))
            return bad(tr("the port is missing or not a number from 1 to 65535"));
        d.port = quint16(port);
        const QJsonValue doors = o.value(QStringLiteral("doors"));
        if (!doors.isUndefined() && !wholeNumber(doors.toDouble(-1), 0, 4, &d.doors))
            return bad(tr("the door count is not a number from 0 to 4"));
        if (!parseDate(date, &d.lastConnected))
            return bad(tr("\"%1\" is no date and time").arg(date.left(40)));
        const QString why = Check(d);
        if (!why.isEmpty())
            return bad(why);
        const int twin = read.IndexOf(d.host, d.port);
        if (twin >= 0)
            return bad(tr("the same address as device %1").arg(twin + 1));
        read.devices.append(d);
    }
    *book = read;
    return true;
}

QByteArray KoAddressBook::ToCsv() const
{
    const QChar comma = QLatin1Char(',');
    QString text = KoCsv::Record(CsvColumns, comma);
    for (const KoFleetDevice& d : devices)
        text += KoCsv::Record({d.name, d.vehicle, QString::number(d.doors), d.host,
                               QString::number(d.port), d.notes, DateText(d.lastConnected),
                               d.softwareVersion},
                              comma);
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

bool KoAddressBook::FromCsv(const QByteArray& bytes, CsvImport* result, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    result->devices.clear();
    result->skipped.clear();
    if (bytes.size() > MaxFileBytes)
        return fail(tr("the file is larger than %1 MiB").arg(MaxFileBytes / (1024 * 1024)));
    // UTF-8 (with or without its mark) is what the tool writes; anything
    // that is not is taken for the Windows Cyrillic code page spreadsheets use.
    QTextCodec::ConverterState state;
    QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    QTextCodec* cyrillic = QTextCodec::codecForName("Windows-1251");
    if (state.invalidChars > 0 && cyrillic)
        text = cyrillic->toUnicode(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QVector<QStringList> records;
    QString why;
    const int max_fields = 64;
    if (!KoCsv::Parse(text, KoCsv::GuessSeparator(text), MaxDevices + 1, max_fields, &records,
                      &why))
        return fail(why);
    if (records.isEmpty())
        return fail(tr("the file is empty"));
    // Columns by their names, in any order; others are left alone.
    QVector<int> column(CsvColumns.size(), -1);
    for (int c = 0; c < records[0].size(); ++c) {
        const int known = CsvColumns.indexOf(records[0][c].trimmed().toLower());
        if (known >= 0 && column[known] < 0)
            column[known] = c;
    }
    if (column[0] < 0 || column[3] < 0)
        return fail(tr("the first line names no columns \"name\" and \"host\""));

    KoAddressBook seen;
    // Line numbers count the lines of the file, a quoted break included.
    int line = 1 + records[0].join(QString()).count(QLatin1Char('\n'));
    for (int r = 1; r < records.size(); ++r) {
        const QStringList& record = records[r];
        ++line;
        const int row_line = line;
        line += record.join(QString()).count(QLatin1Char('\n'));
        const auto field = [&](int k) {
            return column[k] >= 0 && column[k] < record.size() ? record[column[k]] : QString();
        };
        if (record.join(QString()).trimmed().isEmpty())
            continue;
        const auto skip = [&](const QString& reason) {
            result->skipped << tr("line %1: %2").arg(row_line).arg(reason);
        };
        KoFleetDevice d;
        d.name = field(0).trimmed();
        d.vehicle = field(1).trimmed();
        d.host = field(3).trimmed();
        d.notes = field(5);
        d.softwareVersion = field(7).trimmed();
        bool ok = true;
        const QString doors = field(2).trimmed();
        d.doors = doors.isEmpty() ? 0 : doors.toInt(&ok);
        if (!ok || d.doors < 0 || d.doors > 4) {
            skip(tr("the door count \"%1\" is not a number from 0 to 4").arg(doors.left(20)));
            continue;
        }
        const QString port = field(4).trimmed();
        if (port.isEmpty())
            d.port = 4567;
        else if (!KoAddressCheck::ParsePort(port, &d.port)) {
            skip(tr("the port \"%1\" is not a number from 1 to 65535").arg(port.left(20)));
            continue;
        }
        if (!parseDate(field(6).trimmed(), &d.lastConnected)) {
            skip(tr("\"%1\" is no date and time").arg(field(6).left(40)));
            continue;
        }
        const QString reason = Check(d);
        if (!reason.isEmpty()) {
            skip(reason);
            continue;
        }
        if (seen.IndexOf(d.host, d.port) >= 0) {
            skip(tr("the address %1:%2 was on an earlier line").arg(d.host).arg(d.port));
            continue;
        }
        seen.devices.append(d);
    }
    result->devices = seen.devices;
    return true;
}

int KoAddressBook::Merge(const QVector<KoFleetDevice>& imported, int* added, int* updated)
{
    *added = *updated = 0;
    int left_out = 0;
    for (KoFleetDevice d : imported) {
        const int at = IndexOf(d.host, d.port);
        if (at >= 0) {
            // What the tool learnt itself stays unless the file knows better.
            const KoFleetDevice& kept = devices[at];
            if (!d.lastConnected.isValid() || d.lastConnected < kept.lastConnected)
                d.lastConnected = kept.lastConnected;
            if (d.softwareVersion.isEmpty())
                d.softwareVersion = kept.softwareVersion;
            devices[at] = d;
            ++*updated;
        } else if (devices.size() < MaxDevices) {
            devices.append(d);
            ++*added;
        } else {
            ++left_out;
        }
    }
    return left_out;
}
