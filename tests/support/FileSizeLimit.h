#pragma once
// Makes the operating system refuse writes past a size, the way a full disk
// refuses them: while an object lives, this process may not make a file longer
// than the limit (RLIMIT_FSIZE), and write() fails with EFBIG instead of the
// process being stopped by SIGXFSZ.

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace TestSupport
{

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limited{bytes, old_.rlim_max};
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace TestSupport
