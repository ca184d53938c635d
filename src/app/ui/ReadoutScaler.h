#pragma once

#include <QFont>
#include <QList>

class QLabel;

namespace vexlor::app {

// The main window's readouts and names, set larger as the window grows so
// that the display reads across a room. Each label keeps a base font, its own
// or one the operator chose, which the scale multiplies.
class ReadoutScaler {
public:
    void add(QLabel* label);
    // The font a label has at the window's designed size.
    QFont baseFont(const QLabel* label) const;
    void setBaseFont(QLabel* label, const QFont& font);

    double scale() const { return m_scale; }
    void setScale(double scale);
    // How much wider than designed a window `width` wide is, in twentieths, from 1 to 4.
    // The width alone decides: the labels' heights follow their fonts, and a
    // scale taken from the height would grow the window that set it.
    static double scaleFor(int width, int designedWidth);

private:
    struct Entry {
        QLabel* label;
        QFont base;
        int baseHeight; // the label's least height with its base font
    };
    void apply(const Entry& e) const;

    QList<Entry> m_entries;
    double m_scale = 1;
};

} // namespace vexlor::app
