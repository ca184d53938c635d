#include "monitor/MainDisplay.h"

namespace vexlor::monitor {

void MainDisplay::publish()
{
    if (s == m_published)
        return;
    m_published = s;
    Q_EMIT changed();
}

} // namespace vexlor::monitor

#include "moc_MainDisplay.cpp"
