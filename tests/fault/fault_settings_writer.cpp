// Rewrites a settings file through the program's writer until it is killed:
//     fault_settings_writer PATH FIRST_GENERATION
// Prints "written" once the first generation is in place.

#include "fault_settings_content.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: fault_settings_writer PATH FIRST_GENERATION\n", stderr);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (qlonglong generation = std::atoll(argv[2]);; ++generation) {
        if (!FaultSettings(generation).Save(path)) {
            std::fputs("fault_settings_writer: cannot write the file\n", stderr);
            return 1;
        }
        if (generation == std::atoll(argv[2])) {
            std::puts("written");
            std::fflush(stdout);
        }
    }
}
