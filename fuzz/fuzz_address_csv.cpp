// Any bytes as a CSV file of devices: what is imported is sound, and the
// book made of it exports to CSV that imports to the same devices, none left
// out.
#include "ko_address_book.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KoAddressBook::CsvImport imported;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (!KoAddressBook::FromCsv(bytes, &imported, nullptr))
        return 0;
    KoAddressBook book;
    book.devices = imported.devices;
    for (const KoFleetDevice& d : book.devices) {
        if (!KoAddressBook::Check(d).isEmpty())
            __builtin_trap();
    }
    KoAddressBook::CsvImport again;
    if (!KoAddressBook::FromCsv(book.ToCsv(), &again, nullptr) || !again.skipped.isEmpty() ||
        !(again.devices == book.devices))
        __builtin_trap();
    return 0;
}
