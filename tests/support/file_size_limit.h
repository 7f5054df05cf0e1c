#pragma once
// A file-size limit for this process while in scope, writes beyond it failing with EFBIG
// instead of a signal: how a full disk or a quota looks to the code that writes.

#include <csignal>
#include <sys/resource.h>

namespace quorvel::test {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &mOld);
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, mOld.rlim_max};
        mSet = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool isSet() const { return mSet; }

private:
    rlimit mOld{};
    void (*mOldHandler)(int) = nullptr;
    bool mSet = false;
};

}  // namespace quorvel::test
