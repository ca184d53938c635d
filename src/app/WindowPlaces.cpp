#include "app/WindowPlaces.h"

#include <QStringList>

#include <algorithm>

namespace vexlor::app {

namespace {

constexpr int kGap = 8;
// A remembered place counts as on a screen while this much of its top shows there.
constexpr int kVisibleWidth = 100;
constexpr int kVisibleHeight = 40;
// Far beyond any screen: a value past it is a damaged entry.
constexpr int kLimit = 100000;

// The screen holding most of `r`; the first one when none does.
QRect screenOf(const QRect& r, const QList<QRect>& screens)
{
    QRect best = screens.value(0);
    qint64 most = -1;
    for (const QRect& s : screens) {
        const QRect common = s.intersected(r);
        const qint64 area = common.isEmpty() ? 0 : qint64(common.width()) * common.height();
        if (area > most) {
            most = area;
            best = s;
        }
    }
    return best;
}

// `r` moved, and shrunk where it must be, into `screen` below its title bar.
QRect inside(QRect r, const QRect& screen, int frame)
{
    const QRect room = screen.adjusted(0, frame, 0, 0);
    r.setSize(r.size().boundedTo(room.size()));
    r.moveLeft(std::clamp(r.left(), room.left(), room.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), room.top(), room.bottom() - r.height() + 1));
    return r;
}

} // namespace

void WindowPlaces::load(const QString& text)
{
    m_places.clear();
    for (const QString& entry : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const qsizetype colon = entry.lastIndexOf(QLatin1Char(':'));
        const QStringList numbers = entry.mid(colon + 1).split(QLatin1Char(','));
        if (colon <= 0 || numbers.size() != 4)
            continue;
        int v[4];
        bool ok = true;
        for (int i = 0; i < 4 && ok; ++i) {
            v[i] = numbers[i].trimmed().toInt(&ok);
            ok = ok && std::abs(v[i]) <= kLimit;
        }
        if (ok && v[2] > 0 && v[3] > 0)
            m_places.insert(entry.left(colon).trimmed(), QRect(v[0], v[1], v[2], v[3]));
    }
}

QString WindowPlaces::text() const
{
    QStringList names = m_places.keys();
    names.sort();
    QStringList entries;
    for (const QString& name : names) {
        const QRect& r = m_places[name];
        entries << QStringLiteral("%1:%2,%3,%4,%5").arg(name).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
    return entries.join(QLatin1Char(';'));
}

std::optional<QRect> WindowPlaces::remembered(const QString& name) const
{
    const auto it = m_places.constFind(name);
    return it == m_places.cend() ? std::nullopt : std::optional<QRect>(*it);
}

void WindowPlaces::remember(const QString& name, const QRect& geometry)
{
    // A name with the separators in it could not be read back.
    if (!name.isEmpty() && !name.contains(QLatin1Char(';')) && !name.contains(QLatin1Char(':')) && geometry.isValid())
        m_places.insert(name, geometry);
}

QRect WindowPlaces::place(const std::optional<QRect>& remembered, QSize size, const QRect& main,
                          const QList<QRect>& screens, int frame)
{
    if (screens.isEmpty())
        return remembered.value_or(QRect(main.topLeft(), size));
    if (remembered) {
        const QRect top(remembered->topLeft() - QPoint(0, frame), QSize(remembered->width(), kVisibleHeight + frame));
        for (const QRect& s : screens) {
            const QRect common = s.intersected(top);
            if (common.width() >= std::min(kVisibleWidth, remembered->width()) && common.height() >= kVisibleHeight)
                return inside(*remembered, s, frame);
        }
        size = remembered->size();
    }
    const QRect screen = screenOf(main, screens);
    const QRect room = screen.adjusted(0, frame, 0, 0);
    size = size.boundedTo(room.size());
    // Beside the main window where the whole window fits: right, left, below, above.
    const QRect candidates[] = {
        QRect(QPoint(main.right() + 1 + kGap, main.top()), size),
        QRect(QPoint(main.left() - kGap - size.width(), main.top()), size),
        QRect(QPoint(main.left(), main.bottom() + 1 + kGap + frame), size),
        QRect(QPoint(main.left(), main.top() - kGap - frame - size.height()), size),
    };
    for (const QRect& c : candidates) {
        if (room.contains(c))
            return c;
    }
    // No room beside it: over the main window, from its top left, on the screen.
    return inside(QRect(main.topLeft() + QPoint(kGap * 4, kGap * 4), size), screen, frame);
}

} // namespace vexlor::app
