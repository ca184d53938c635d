#include "memory/Cell.h"

#include "link/Wire.h"

#include <QLocale>

#include <cmath>

namespace vexlor::memory {

// Receiver data never holds NaN or infinity; keeping one would make equality and display lie.
Cell::Cell(double number) : m_value(std::isfinite(number) ? number : 0.0) {}

bool Cell::isBlank() const
{
    if (isEmpty())
        return true;
    const QString* t = std::get_if<QString>(&m_value);
    return t && t->isEmpty();
}

QString Cell::text() const
{
    const QString* t = std::get_if<QString>(&m_value);
    return t ? *t : QString();
}

double Cell::number() const
{
    if (const double* n = std::get_if<double>(&m_value))
        return *n;
    if (const QString* t = std::get_if<QString>(&m_value))
        return link::wire::leadingNumber(*t);
    return 0;
}

QString Cell::display() const
{
    if (const double* n = std::get_if<double>(&m_value))
        return decimal(*n);
    return text();
}

QString Cell::decimal(double number)
{
    if (number == 0)
        return QStringLiteral("0"); // also for -0
    return QString::number(number, 'f', QLocale::FloatingPointShortest);
}

} // namespace vexlor::memory
