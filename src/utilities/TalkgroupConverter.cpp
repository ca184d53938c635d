#include "utilities/TalkgroupConverter.h"

#include "link/Wire.h"
#include "platform/SafeWrite.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <filesystem>
#include <system_error>

namespace vexlor::utilities {

namespace {
constexpr int kTalkgroups = 2048;
// The real table is about 24 KB; anything past this is not a table, and
// reading on would hang on an endless device.
constexpr qint64 kMaxTableBytes = 1 << 20;
// Talkgroups past a 32-bit signed value are refused rather than wrapped.
constexpr double kMaxTalkgroup = 2147483647.0;

// Opening a pipe or a socket waits for a peer that may never come.
bool mayBlockOnOpen(const QString& path)
{
    std::error_code ec;
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString(), ec);
    return !ec && (std::filesystem::is_fifo(status) || std::filesystem::is_socket(status));
}
} // namespace

TalkgroupConverter::TalkgroupConverter(const QString& afsFile, QObject* parent)
    : QObject(parent), m_afsFile(afsFile)
{
}

QString TalkgroupConverter::afsText(int talkgroup)
{
    // EDACS split: 4 bits agency, 4 bits fleet, 3 bits subfleet.
    const int agency = talkgroup / 128;
    const int fleet = (talkgroup / 8) % 16;
    const int subfleet = talkgroup % 8;
    return QStringLiteral("%1-%2%3")
        .arg(agency, 2, 10, QLatin1Char('0'))
        .arg(fleet, 2, 10, QLatin1Char('0'))
        .arg(subfleet);
}

bool TalkgroupConverter::ensureAfsFile(const QString& path, QString* why)
{
    const QFileInfo info(path);
    // A dangling link counts as present: writing through it would replace the link.
    if (info.exists() || info.isSymLink())
        return true;
    QByteArray table;
    table.reserve(kTalkgroups * 12);
    for (int v = 0; v < kTalkgroups; ++v) {
        table += QStringLiteral("%1 ").arg(v, 3, 16, QLatin1Char('0')).toUpper().toLatin1();
        table += afsText(v).toLatin1();
        table += "\r\n";
    }
    const auto w = platform::safewrite::replace(path, table);
    if (!w.written && why)
        *why = w.reason;
    return w.written;
}

void TalkgroupConverter::open()
{
    m_decSelected = false;
    m_decBox.clear();
    m_hexBox.clear();
    m_afsBox.clear();
    m_note.clear();
    Q_EMIT changed();
}

void TalkgroupConverter::Convert()
{
    m_note.clear();
    if (m_decSelected) {
        convertDecimal();
    } else {
        m_hexBox = m_hexBox.toUpper();
        m_decBox.clear();
    }
    if (m_hexBox.size() == 1)
        m_hexBox.prepend(QLatin1String("00"));
    else if (m_hexBox.size() == 2)
        m_hexBox.prepend(QLatin1Char('0'));
    m_afsBox = lookUp(m_hexBox);
    Q_EMIT changed();
}

void TalkgroupConverter::convertDecimal()
{
    const double value = link::wire::leadingNumber(m_decBox);
    // Negative, oversized and fractional entries are not talkgroups: the entry
    // stays as typed so the operator sees it, and nothing is looked up.
    if (!(value >= 0 && value <= kMaxTalkgroup)) {
        m_hexBox.clear();
        m_note = QStringLiteral("%1 is out of range: a talkgroup is a whole number from 0 to %2.")
                     .arg(m_decBox.trimmed())
                     .arg(qint64(kMaxTalkgroup));
        return;
    }
    if (value != std::trunc(value)) {
        m_hexBox.clear();
        m_note = QStringLiteral("%1 is not a whole number: a talkgroup has no fraction.").arg(m_decBox.trimmed());
        return;
    }
    const auto talkgroup = static_cast<qint64>(value);
    m_decBox = QString::number(talkgroup);
    m_hexBox = QString::number(talkgroup, 16).toUpper();
}

QString TalkgroupConverter::lookUp(const QString& hex) const
{
    if (hex.isEmpty() || mayBlockOnOpen(m_afsFile))
        return {};
    QFile file(m_afsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray data;
    while (data.size() < kMaxTableBytes) {
        const QByteArray chunk = file.read(kMaxTableBytes - data.size());
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    // Cut off at the limit, the last line may be a fragment.
    if (data.size() >= kMaxTableBytes)
        data.truncate(data.lastIndexOf('\n') + 1);

    QString result;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        if (end < 0)
            end = data.size();
        QByteArrayView line(data.constData() + start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        const QString text = QString::fromLatin1(line);
        if (text.left(3) == hex)
            result = text.mid(4, 6);
        start = end + 1;
    }
    return result;
}

bool TalkgroupConverter::takeLineBreaks(QString& text)
{
    const qsizetype before = text.size();
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text.size() != before;
}

void TalkgroupConverter::decBox_Change(const QString& text)
{
    m_decBox = text;
    if (takeLineBreaks(m_decBox))
        Convert();
    else
        Q_EMIT changed();
}

void TalkgroupConverter::hexBox_Change(const QString& text)
{
    m_hexBox = text;
    if (takeLineBreaks(m_hexBox))
        Convert();
    else
        Q_EMIT changed();
}

void TalkgroupConverter::decChk_Click()
{
    m_decSelected = true;
    Q_EMIT changed();
}

void TalkgroupConverter::hexChk_Click()
{
    m_decSelected = false;
    Q_EMIT changed();
}

} // namespace vexlor::utilities

#include "moc_TalkgroupConverter.cpp"
