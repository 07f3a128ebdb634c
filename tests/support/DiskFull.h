// A full disk for the process: while one of these lives no file may grow past the given size
// (a write beyond it fails with EFBIG instead of raising SIGXFSZ).
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

class DiskFull {
public:
    explicit DiskFull(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~DiskFull()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    DiskFull(const DiskFull&) = delete;
    DiskFull& operator=(const DiskFull&) = delete;

private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace testsupport
