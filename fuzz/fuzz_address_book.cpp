// Any bytes as the address book's file: a book that is read holds only sound
// devices at distinct addresses, and reads back the same from what it writes.
#include "ko_address_book.h"

#include <cstddef>
#include <cstdint>

// Qt's JSON parser loses the earlier value of a key that is repeated in an
// object (a few bytes per damaged file, nothing of ours); only that module's
// leaks are let pass (its stack is all a report of that loss shows).
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libQt5Core.so.5\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    KoAddressBook book;
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    if (!KoAddressBook::FromJson(bytes, &book, nullptr))
        return 0;
    for (int i = 0; i < book.devices.size(); ++i) {
        const KoFleetDevice& d = book.devices[i];
        if (!KoAddressBook::Check(d).isEmpty() || book.IndexOf(d.host, d.port) != i)
            __builtin_trap();
    }
    KoAddressBook again;
    if (!KoAddressBook::FromJson(book.ToJson(), &again, nullptr) || !(again.devices == book.devices))
        __builtin_trap();
    return 0;
}
