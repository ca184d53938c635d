#include "memory/RecordJournal.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <sys/stat.h>

#include <utility>

namespace vexlor::memory {

namespace {

constexpr char kMagic[] = "VXJ2";
constexpr qsizetype kMagicSize = 4;
constexpr auto kHash = QCryptographicHash::Sha256;
constexpr qsizetype kHashSize = 32;
constexpr qsizetype kMaxName = 4096;

template <typename T> void append(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

void appendBytes(QByteArray& out, QByteArrayView bytes)
{
    append<quint32>(out, quint32(bytes.size()));
    out += bytes;
}

// Reads the body front to back; any read past its end makes it invalid.
class Reader {
public:
    explicit Reader(QByteArrayView body) : m_body(body) {}

    template <typename T> T take()
    {
        if (m_body.size() - m_at < qsizetype(sizeof(T))) {
            m_ok = false;
            return T {};
        }
        const T value = qFromLittleEndian<T>(m_body.data() + m_at);
        m_at += qsizetype(sizeof(T));
        return value;
    }
    QByteArray bytes(qsizetype max)
    {
        const quint32 length = take<quint32>();
        if (!m_ok || length > quint64(max) || length > quint64(m_body.size() - m_at)) {
            m_ok = false;
            return {};
        }
        const QByteArray out = m_body.sliced(m_at, length).toByteArray();
        m_at += length;
        return out;
    }
    // A name, as UTF-8 that decodes whole.
    QString name()
    {
        const QByteArray b = bytes(kMaxName);
        QString text = QString::fromUtf8(b);
        if (text.toUtf8() != b)
            m_ok = false;
        return text;
    }
    bool whole() const { return m_ok && m_at == m_body.size(); }
    bool ok() const { return m_ok; }

private:
    QByteArrayView m_body;
    qsizetype m_at = kMagicSize;
    bool m_ok = true;
};

// Every byte the write covers is still as it was, or already as it will be.
bool oldOrNew(const RecordJournal::Write& w, QByteArrayView now)
{
    for (qsizetype i = 0; i < w.bytes.size() && i < now.size(); ++i) {
        if (now[i] != w.bytes[i] && (i >= w.before.size() || now[i] != w.before[i]))
            return false;
    }
    return true;
}

} // namespace

RecordJournal::RecordJournal(QString path)
    : m_path(std::move(path))
{
}

std::optional<RecordJournal::Identity> RecordJournal::identityOf(const QFile& file)
{
    struct stat st {};
    if (file.handle() < 0 || ::fstat(file.handle(), &st) != 0)
        return std::nullopt;
    return Identity {QFileInfo(file.fileName()).fileName(), quint64(st.st_dev), quint64(st.st_ino)};
}

QByteArray RecordJournal::encode(const Entry& entry)
{
    QByteArray out(kMagic, kMagicSize);
    appendBytes(out, entry.store.fileName.toUtf8());
    append<quint64>(out, entry.store.device);
    append<quint64>(out, entry.store.inode);
    append<quint64>(out, entry.pairing.step);
    append<quint8>(out, entry.pairing.first ? 1 : 0);
    appendBytes(out, entry.pairing.partner.toUtf8());
    append<quint32>(out, quint32(entry.writes.size()));
    for (const Write& w : entry.writes) {
        append<quint64>(out, quint64(w.offset));
        appendBytes(out, w.bytes);
        appendBytes(out, w.before);
    }
    out += QCryptographicHash::hash(out, kHash);
    return out;
}

std::optional<RecordJournal::Entry> RecordJournal::decode(QByteArrayView bytes)
{
    if (bytes.size() < kMagicSize + kHashSize || bytes.size() > kMaxSize || !bytes.startsWith(kMagic))
        return std::nullopt;
    const QByteArrayView body = bytes.first(bytes.size() - kHashSize);
    if (QCryptographicHash::hash(body, kHash) != bytes.last(kHashSize))
        return std::nullopt;
    Reader r(body);
    Entry e;
    e.store.fileName = r.name();
    e.store.device = r.take<quint64>();
    e.store.inode = r.take<quint64>();
    e.pairing.step = r.take<quint64>();
    const quint8 first = r.take<quint8>();
    e.pairing.partner = r.name();
    const quint32 count = r.take<quint32>();
    // Names only: a journal never points outside its folder.
    if (first > 1 || e.store.fileName.contains(u'/') || e.pairing.partner.contains(u'/'))
        return std::nullopt;
    e.pairing.first = first == 1;
    for (quint32 i = 0; r.ok() && i < count; ++i) {
        Write w;
        w.offset = qint64(r.take<quint64>());
        w.bytes = r.bytes(kMaxSize);
        w.before = r.bytes(kMaxSize);
        if (quint64(w.offset) > quint64(kMaxOffset) || w.before.size() > w.bytes.size())
            return std::nullopt;
        e.writes.append(std::move(w));
    }
    if (!r.whole())
        return std::nullopt;
    return e;
}

bool RecordJournal::begin(const Entry& entry)
{
    const QByteArray bytes = encode(entry);
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

std::optional<RecordJournal::Entry> RecordJournal::read() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return decode(file.read(kMaxSize + 1));
}

std::optional<QList<RecordJournal::Write>> RecordJournal::pending(QFile& store) const
{
    const auto entry = read();
    if (!entry || entry->store != identityOf(store))
        return std::nullopt;
    if (entry->pairing.first) {
        // Killed before its partner was whole: neither store was touched yet.
        const auto partner = RecordJournal(QFileInfo(m_path).dir().filePath(entry->pairing.partner)).read();
        if (!partner || partner->pairing.step != entry->pairing.step || partner->pairing.first)
            return std::nullopt;
    }
    for (const Write& w : entry->writes) {
        if (!store.seek(w.offset) && w.offset < store.size())
            return std::nullopt;
        if (!oldOrNew(w, w.offset < store.size() ? store.read(w.bytes.size()) : QByteArray()))
            return std::nullopt;
    }
    return entry->writes;
}

} // namespace vexlor::memory
