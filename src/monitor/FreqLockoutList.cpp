#include "monitor/FreqLockoutList.h"

namespace vexlor::monitor {

void FreqLockoutList::add(const QString& rawDigits, const QString& formatted)
{
    FreqList1.append(rawDigits);
    test += formatted + QStringLiteral("\r\n");
    Q_EMIT changed();
}

void FreqLockoutList::clear()
{
    FreqList1.clear();
    test.clear();
    Q_EMIT changed();
}

} // namespace vexlor::monitor
