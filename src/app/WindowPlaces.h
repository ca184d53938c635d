#pragma once

#include <QHash>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace vexlor::app {

// Where each window was, by its name, as the configuration keeps it, and where
// a window opens: on a screen, whole where it fits, near the main window.
class WindowPlaces {
public:
    // "Name:x,y,w,h;Name:x,y,w,h"; entries that do not read so are skipped.
    void load(const QString& text);
    QString text() const;

    std::optional<QRect> remembered(const QString& name) const;
    void remember(const QString& name, const QRect& geometry);

    // The geometry for a window of `size`: its remembered one while that still
    // shows on a screen, else beside `main`; always inside one of `screens`
    // (their available areas), `frame` being room kept for the title bar.
    static QRect place(const std::optional<QRect>& remembered, QSize size, const QRect& main,
                       const QList<QRect>& screens, int frame);

private:
    QHash<QString, QRect> m_places;
};

} // namespace vexlor::app
