#pragma once

#include <QByteArray>
#include <QFile>

// Records spelled out by hand, so the tests do not reuse the encoders they check.
namespace recordbytes {

inline QByteArray pad(QByteArray text, int width, char fill = ' ')
{
    text.truncate(width);
    return text + QByteArray(width - text.size(), fill);
}

inline QByteArray channel(const QByteArray& ch, const QByteArray& freq, const QByteArray& type = "",
    const QByteArray& name = "", char delay = 'F', char lockout = 'F', char trunk = 'F',
    const QByteArray& map = "           ")
{
    return pad(ch, 3) + pad(freq, 8) + pad(type, 3) + pad(name, 40) + delay + lockout + trunk + pad(map, 11);
}

inline QByteArray id(const QByteArray& slot, const QByteArray& idText, const QByteArray& type = "",
    const QByteArray& name = "", char lockout = ' ', const QByteArray& reserved = "")
{
    return pad(slot, 5) + pad(idText, 6) + pad(type, 3) + pad(name, 40) + lockout + pad(reserved, 10);
}

inline QByteArray bankText(const QByteArray& text)
{
    QByteArray r("\x08\x00", 2);
    r += char(text.size());
    r += '\0';
    return pad(r + text, 65, '\0');
}

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace recordbytes
