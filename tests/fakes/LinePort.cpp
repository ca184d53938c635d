#include "LinePort.h"

#include <algorithm>
#include <cmath>

namespace vexlor::fakes {

LinePort::LinePort(platform::SerialPort& inner) : m_inner(inner)
{
    m_clock.start();
    connect(&m_inner, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&m_inner, &SerialPort::lineStateChanged, this, &SerialPort::lineStateChanged);
}

void LinePort::write(const QByteArray& bytes)
{
    ++writes;
    written += bytes.size();
    sent.append(bytes);
    m_out += bytes;
    for (qsizetype cr = m_out.indexOf('\r'); cr >= 0; cr = m_out.indexOf('\r')) {
        m_waiting.push_back({m_out.left(cr), nowMs(), 0});
        m_out.remove(0, cr + 1);
    }
    m_inner.write(bytes);
}

QByteArray LinePort::readAll()
{
    const QByteArray bytes = m_inner.readAll();
    read += bytes.size();
    replyLines += bytes.count('\r');
    m_in += bytes;
    const double now = nowMs();
    for (qsizetype cr = m_in.indexOf('\r'); cr >= 0; cr = m_in.indexOf('\r')) {
        m_in.remove(0, cr + 1);
        if (m_waiting.empty()) {
            ++m_unasked;
            continue;
        }
        Answer a = m_waiting.front();
        m_waiting.pop_front();
        a.ageMs = now - a.sentMs;
        m_answers.append(a);
    }
    return bytes;
}

void LinePort::reset()
{
    writes = written = read = replyLines = m_unasked = 0;
    sent.clear();
    m_out.clear();
    m_in.clear();
    m_waiting.clear();
    m_answers.clear();
}

QByteArrayList LinePort::waiting() const
{
    QByteArrayList commands;
    for (const Answer& a : m_waiting)
        commands.append(a.command);
    return commands;
}

double LinePort::percentile(double p, const QByteArray& prefix, double fromMs, double toMs) const
{
    QList<double> ages;
    for (const Answer& a : m_answers) {
        if (a.sentMs >= fromMs && a.sentMs < toMs && a.command.startsWith(prefix))
            ages.append(a.ageMs);
    }
    if (ages.isEmpty())
        return 0;
    std::sort(ages.begin(), ages.end());
    const auto rank = qsizetype(std::ceil(p / 100.0 * double(ages.size())));
    return ages[std::clamp<qsizetype>(rank - 1, 0, ages.size() - 1)];
}

} // namespace vexlor::fakes

#include "moc_LinePort.cpp"
