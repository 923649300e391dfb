#pragma once

#include "ko_fleet_device.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// The address book of devices and its two forms on disk: the book's own JSON
// file in the data folder and CSV for spreadsheets. Both are read as
// untrusted input: the size is bounded and every field is checked before
// anything is taken (docs/fleet-files.md describes the forms).
class KoAddressBook
{
    Q_DECLARE_TR_FUNCTIONS(KoAddressBook)

public:
    static constexpr int FormatVersion = 1;
    static constexpr qint64 MaxFileBytes = 4 * 1024 * 1024;
    static constexpr int MaxDevices = 5000;
    static constexpr int MaxName = 100;
    static constexpr int MaxVehicle = 40;
    static constexpr int MaxNotes = 2000;
    static constexpr int MaxVersion = 64;
    static const char* const FormatName;
    // The CSV columns, in the order written.
    static const QStringList CsvColumns;

    QVector<KoFleetDevice> devices;

    // Why a device cannot be kept, naming the field; empty when it can.
    static QString Check(const KoFleetDevice& device);
    // The device at this address, -1 when none. Host names compare without
    // regard to case.
    int IndexOf(const QString& host, quint16 port) const;
    // Whether every word of search occurs in one of the device's texts
    // (letter case aside).
    static bool Matches(const KoFleetDevice& device, const QString& search);

    QByteArray ToJson() const;
    // Replaces book with the file's devices; false with the reason, book
    // untouched, for a file that is not a whole, sound book of a format
    // this tool reads.
    static bool FromJson(const QByteArray& bytes, KoAddressBook* book, QString* error);

    // UTF-8 with a byte-order mark, so that spreadsheets see the letters.
    QByteArray ToCsv() const;
    struct CsvImport
    {
        QVector<KoFleetDevice> devices; // the sound rows
        QStringList skipped;            // "line N: why", one per row left out
    };
    // False with the reason when the text is no CSV of devices at all (no
    // header naming "name" and "host", too big, a quote left open); rows
    // that do not make a device are skipped and said.
    static bool FromCsv(const QByteArray& bytes, CsvImport* result, QString* error);
    // Adds the imported devices; one at an address already in the book
    // replaces that entry (keeping the last connection and the software
    // version the file does not know). Counts those added and updated;
    // returns how many found no room in a full book.
    int Merge(const QVector<KoFleetDevice>& imported, int* added, int* updated);

    static QString DateText(const QDateTime& utc); // ISO 8601 in UTC, empty for none
    // A moment as the windows show it, in local time and figures alone (no
    // month names in the program's locale, whatever the language).
    static QString ShownDate(const QDateTime& utc);
};
