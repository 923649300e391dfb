#pragma once

// A disk that fills up while a file is written, for as long as the object
// lives: the process may not make any file longer than limit bytes, so a
// write beyond that fails as on a full file system (EFBIG rather than
// ENOSPC), when the data reach the disk. Works as root (permissions would
// not stop root), with no mount, no privilege and no display.
//
//     {
//         FullDisk full(1024);
//         QVERIFY(!writer.Save(path));
//     }

#include <csignal>

#include <sys/resource.h>

class FullDisk
{
public:
    explicit FullDisk(rlim_t limit)
    {
        // The write fails with EFBIG instead of the signal killing the test.
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        ok = getrlimit(RLIMIT_FSIZE, &oldLimit) == 0;
        rlimit small = oldLimit;
        small.rlim_cur = limit;
        ok = ok && setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &oldLimit);
        std::signal(SIGXFSZ, oldHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

    bool active() const { return ok; }

private:
    rlimit oldLimit{};
    void (*oldHandler)(int) = nullptr;
    bool ok = false;
};
