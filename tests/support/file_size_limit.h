#pragma once

#include <sys/resource.h>

#include <csignal>

namespace fb::test {

// Lowers the process's file-size limit while it lives, so that writes fail part-way as on a
// full disk: a write that would pass the limit writes what fits, the next one fails with
// EFBIG. The signal such a write raises is ignored meanwhile, so the process lives on.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_saved;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = SIG_DFL;
};

} // namespace fb::test
