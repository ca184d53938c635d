#pragma once

#include <QPointer>
#include <QString>

namespace vexlor::link {

class ScannerLink;

// Holds the line for one long exchange: claims it, optionally quiets the
// receiver, and gives both back exactly once, whichever way the exchange ends.
class ExchangeGuard {
public:
    enum class Quiet { No, Yes };

    ExchangeGuard(ScannerLink& link, const QString& owner, Quiet quiet);
    ~ExchangeGuard();
    ExchangeGuard(const ExchangeGuard&) = delete;
    ExchangeGuard& operator=(const ExchangeGuard&) = delete;

    // False when another exchange had the line: nothing was sent.
    bool held() const { return m_held; }
    // Quiets now, for an exchange that claims first and quiets later.
    void quiet();
    // Releases the quieting and the claim early; the destructor then does nothing.
    void release();

private:
    QPointer<ScannerLink> m_link;
    QString m_owner;
    bool m_held = false;
    bool m_quieted = false;
    bool m_pollHeld = false;
};

} // namespace vexlor::link
