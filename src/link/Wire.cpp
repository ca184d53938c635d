#include "link/Wire.h"

#include <cmath>

namespace vexlor::link::wire {

double leadingNumber(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        ++i;
    bool any = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        ++i;
        any = true;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
            ++i;
            any = true;
        }
    }
    if (!any)
        return 0;
    bool ok = false;
    const double v = text.mid(start, i - start).toString().toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

std::optional<double> wholeNumber(QStringView text, bool* hasPoint)
{
    while (text.startsWith(QLatin1Char(' ')))
        text = text.sliced(1);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    bool point = false;
    bool digit = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = true;
        else if (c == QLatin1Char('.') && !point)
            point = true;
        else if (!(i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))))
            return std::nullopt;
    }
    if (!digit)
        return std::nullopt;
    if (hasPoint)
        *hasPoint = point;
    bool ok = false;
    const double v = text.toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

int leadingInt(QStringView text)
{
    const double v = leadingNumber(text);
    if (v >= 2147483647.0)
        return 2147483647;
    if (v <= -2147483648.0)
        return -2147483647 - 1;
    return int(std::trunc(v));
}

QString formatMHz(double mhz)
{
    if (!std::isfinite(mhz) || mhz < 0)
        mhz = 0;
    QString s = QString::number(mhz, 'f', 4);
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    if (dot < 3)
        s.prepend(QString(3 - dot, QLatin1Char('0')));
    return s;
}

QString wireFrequency(double mhz)
{
    if (!std::isfinite(mhz) || mhz < 0)
        mhz = 0;
    const double units = std::round(mhz * 10000.0);
    if (units > 99999999.0)
        return QStringLiteral("99999999");
    return QStringLiteral("%1").arg(qint64(units), 8, 10, QLatin1Char('0'));
}

QString frequencyFromWire(QStringView digitsText)
{
    return formatMHz(leadingNumber(digitsText) * 0.0001);
}

QString wireFromFormatted(QStringView formatted)
{
    if (formatted.isEmpty())
        return QStringLiteral("00000000");
    // Characters 1-3 and 5-8: the integer digits and the four decimals.
    const QString joined = formatted.mid(0, 3).toString() + formatted.mid(4, 4).toString();
    return digits(leadingInt(joined), 8);
}

QChar bankLetter(int n) { return QChar(char16_t(64 + n)); }

int bankNumber(QChar letter)
{
    const int n = letter.unicode() - 64;
    return n >= 1 && n <= 10 ? n : 0;
}

QChar slotDigit(int position) { return position == 10 ? QLatin1Char('0') : QChar(char16_t('0' + position)); }

int slotPosition(QChar digit)
{
    if (digit == QLatin1Char('0'))
        return 10;
    if (digit >= QLatin1Char('1') && digit <= QLatin1Char('9'))
        return digit.unicode() - '0';
    return 0;
}

QString digits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

} // namespace vexlor::link::wire
