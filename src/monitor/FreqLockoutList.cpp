#include "monitor/FreqLockoutList.h"

namespace vexlor::monitor {

void FreqLockoutList::add(const QString& rawDigits, const QString& formatted)
{
    const QLatin1String crlf("\r\n");
    if (FreqList1.size() >= kMaxEntries)
        FreqList1.removeFirst();
    FreqList1.append(rawDigits);
    if (m_testLines >= kMaxEntries) {
        const qsizetype end = test.indexOf(crlf);
        test.remove(0, end < 0 ? test.size() : end + crlf.size());
    } else {
        ++m_testLines;
    }
    test += formatted + crlf;
    Q_EMIT changed();
}

void FreqLockoutList::clear()
{
    FreqList1.clear();
    test.clear();
    m_testLines = 0;
    Q_EMIT changed();
}

} // namespace vexlor::monitor

#include "moc_FreqLockoutList.cpp"
