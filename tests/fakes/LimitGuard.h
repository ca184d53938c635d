#pragma once

#include <csignal>
#include <sys/resource.h>

namespace vexlor::testing {

// Lowers a process limit for one scope, so a write fails even for root. Past a
// file-size limit the write then fails with EFBIG instead of raising SIGXFSZ.
class LimitGuard {
public:
    LimitGuard(int resource, rlim_t soft)
        : m_resource(resource), m_xfsz(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(resource, &m_old);
        rlimit l = m_old;
        l.rlim_cur = soft;
        m_ok = setrlimit(resource, &l) == 0;
    }
    ~LimitGuard()
    {
        setrlimit(m_resource, &m_old);
        std::signal(SIGXFSZ, m_xfsz);
    }
    LimitGuard(const LimitGuard&) = delete;
    LimitGuard& operator=(const LimitGuard&) = delete;
    bool ok() const { return m_ok; }

private:
    int m_resource;
    void (*m_xfsz)(int);
    rlimit m_old {};
    bool m_ok = false;
};

} // namespace vexlor::testing
