#pragma once

#include <QString>
#include <QStringView>

#include <variant>

namespace vexlor::memory {

// One cell of the memory tables: never set, a text, or a number. A cell that
// was never set differs from one holding the empty text; the stores and the
// export tell the two apart.
class Cell {
public:
    Cell() = default;
    Cell(const QString& text) : m_value(text) {}
    Cell(const char* text) : m_value(QString::fromUtf8(text)) {}
    Cell(QLatin1String text) : m_value(QString(text)) {}
    Cell(double number);
    Cell(int number) : Cell(double(number)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(m_value); }
    bool isText() const { return std::holds_alternative<QString>(m_value); }
    bool isNumber() const { return std::holds_alternative<double>(m_value); }
    // Never set, or the empty text: the emptiness most editors test for.
    bool isBlank() const;

    // The held text; empty for a number or a cell never set.
    QString text() const;
    // A number as held; a text through the lenient leading-number conversion; 0 when never set.
    double number() const;
    // What a grid or a file shows: the text, a number as its shortest decimal, or nothing.
    QString display() const;
    QString toString() const { return display(); }

    void clear() { m_value = std::monostate {}; }

    friend bool operator==(const Cell& a, const Cell& b) { return a.m_value == b.m_value; }

    // Shortest decimal text of a number: 1, 30, 1.5, -2.
    static QString decimal(double number);

private:
    std::variant<std::monostate, QString, double> m_value;
};

} // namespace vexlor::memory
