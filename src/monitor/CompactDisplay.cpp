#include "monitor/CompactDisplay.h"

namespace vexlor::monitor {

void CompactDisplay::publish()
{
    if (s == m_published)
        return;
    m_published = s;
    Q_EMIT changed();
}

} // namespace vexlor::monitor

#include "moc_CompactDisplay.cpp"
