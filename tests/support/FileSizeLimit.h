#pragma once
// While one lives, the system refuses to let this process make a file longer
// than the limit (RLIMIT_FSIZE): write() fails with EFBIG part-way, as it fails
// with ENOSPC on a full disk, and SIGXFSZ is ignored instead of ending the test.

#include <csignal>
#include <sys/resource.h>

namespace TestSupport
{

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limited{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    void (*oldHandler_)(int);
    rlimit old_{};
};

} // namespace TestSupport
