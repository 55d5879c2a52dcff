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
        m_active = setrlimit(RLIMIT_FSIZE, &lowered) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    // False where the hard limit is below the one asked for.
    bool active() const { return m_active; }

    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_saved{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_active = false;
};

} // namespace fb::test
