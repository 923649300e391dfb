#pragma once

// A disk that fills up under a write, while the object lives: no file of the
// process may grow beyond limit bytes, so a write past it fails when its data
// reach the disk (EFBIG, "File too large"). Works as root, with no mount, no
// privilege and no display.

#include <csignal>

#include <sys/resource.h>

class FullDisk
{
public:
    explicit FullDisk(rlim_t limit)
    {
        // The write fails instead of the signal ending the test.
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
