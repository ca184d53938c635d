#include "link/ExchangeGuard.h"

#include "link/ScannerLink.h"

namespace vexlor::link {

ExchangeGuard::ExchangeGuard(ScannerLink& link, const QString& owner, Quiet quiet)
    : m_link(&link), m_owner(owner), m_held(link.claim(owner))
{
    // The poll keeps off the line while the exchange waits for its answers.
    m_pollHeld = m_held && link.holdPoll();
    if (m_held && m_link && quiet == Quiet::Yes)
        this->quiet();
}

ExchangeGuard::~ExchangeGuard() { release(); }

void ExchangeGuard::quiet()
{
    if (!m_held || m_quieted || !m_link)
        return;
    m_quieted = true;
    m_link->QuietScanner(true);
}

void ExchangeGuard::release()
{
    if (!m_held)
        return;
    m_held = false;
    if (!m_link)
        return;
    // Unclaimed first: the release waits, and the line is ours no longer.
    m_link->unclaim(m_owner);
    if (m_quieted)
        m_link->QuietScanner(false);
    else if (m_pollHeld)
        m_link->resumePoll();
    m_quieted = m_pollHeld = false;
}

} // namespace vexlor::link
