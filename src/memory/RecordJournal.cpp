#include "memory/RecordJournal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QtEndian>

#include <utility>

namespace vexlor::memory {

namespace {

constexpr char kMagic[] = "VXJ1";
constexpr qsizetype kMagicSize = 4;
constexpr auto kHash = QCryptographicHash::Sha256;
constexpr qsizetype kHashSize = 32;
constexpr qsizetype kEntryHead = 8 + 4; // offset, length

template <typename T> void append(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template <typename T> T take(QByteArrayView bytes, qsizetype& at)
{
    const T value = qFromLittleEndian<T>(bytes.data() + at);
    at += qsizetype(sizeof(T));
    return value;
}

} // namespace

RecordJournal::RecordJournal(QString path)
    : m_path(std::move(path))
{
}

QByteArray RecordJournal::encode(const QList<Write>& writes)
{
    QByteArray out(kMagic, kMagicSize);
    append<quint32>(out, quint32(writes.size()));
    for (const Write& w : writes) {
        append<quint64>(out, quint64(w.offset));
        append<quint32>(out, quint32(w.bytes.size()));
        out += w.bytes;
    }
    out += QCryptographicHash::hash(out, kHash);
    return out;
}

std::optional<QList<RecordJournal::Write>> RecordJournal::decode(QByteArrayView bytes)
{
    if (bytes.size() < kMagicSize + 4 + kHashSize || bytes.size() > kMaxSize || !bytes.startsWith(kMagic))
        return std::nullopt;
    const QByteArrayView body = bytes.first(bytes.size() - kHashSize);
    if (QCryptographicHash::hash(body, kHash) != bytes.last(kHashSize))
        return std::nullopt;
    qsizetype at = kMagicSize;
    const quint32 count = take<quint32>(body, at);
    QList<Write> writes;
    for (quint32 i = 0; i < count; ++i) {
        if (body.size() - at < kEntryHead)
            return std::nullopt;
        const quint64 offset = take<quint64>(body, at);
        const quint32 length = take<quint32>(body, at);
        if (offset > quint64(kMaxOffset) || length > quint64(body.size() - at))
            return std::nullopt;
        writes.append({qint64(offset), body.sliced(at, length).toByteArray()});
        at += length;
    }
    if (at != body.size())
        return std::nullopt;
    return writes;
}

bool RecordJournal::begin(const QList<Write>& writes)
{
    const QByteArray bytes = encode(writes);
    QFile file(m_path);
    // Unbuffered: one write() call, so a kill leaves a prefix that fails the checksum.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
        || file.write(bytes) != bytes.size()) {
        m_error = QStringLiteral("%1: %2").arg(m_path, file.errorString());
        file.close();
        // A journal that could not be written whole must not be redone later.
        QFile::remove(m_path);
        return false;
    }
    return true;
}

bool RecordJournal::end()
{
    if (!QFile::exists(m_path) || QFile::remove(m_path))
        return true;
    // Cannot remove it: emptying it keeps it from being redone over later edits.
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    m_error = QStringLiteral("%1: cannot be removed: %2").arg(m_path, file.errorString());
    return false;
}

std::optional<QList<RecordJournal::Write>> RecordJournal::pending() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.read(kMaxSize + 1));
}

} // namespace vexlor::memory
