#include "recording/RecordingList.h"

#include "recording/RecordingFiles.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace vexlor::recording {

RecordingList::RecordingList(Hooks hooks, QObject* parent) : QAbstractTableModel(parent), m_hooks(std::move(hooks)) {}

RecordingList::Entry RecordingList::read(const QString& file) const
{
    Entry e;
    e.file = file;
    e.at = QDateTime::fromString(file.left(17), QStringLiteral("yyyy-MM-dd/HHmmss"));
    platform::AudioFileWriter::Tags tags;
    if (!m_hooks.info || !m_hooks.info(QDir(m_hooks.folder()).filePath(file), &e.seconds, &tags))
        return e;
    // "frequency=154.4300 channel=12 talkgroup=002032 ...", as the recorder writes it.
    for (const QString& fact : tags.comment.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString key = fact.section(QLatin1Char('='), 0, 0), value = fact.section(QLatin1Char('='), 1);
        if (key == QLatin1String("frequency"))
            e.frequency = value;
        else if (key == QLatin1String("channel"))
            e.channel = value;
        else if (key == QLatin1String("talkgroup"))
            e.talkgroup = value;
    }
    // The names follow the place in the title and the talkgroup in the artist.
    const QString place = e.channel.isEmpty() ? e.frequency : QStringLiteral("Ch ") + e.channel;
    if (tags.title.startsWith(place))
        e.channelName = tags.title.mid(place.size()).trimmed();
    if (!e.talkgroup.isEmpty() && tags.artist.startsWith(e.talkgroup))
        e.talkgroupName = tags.artist.mid(e.talkgroup.size()).trimmed();
    return e;
}

void RecordingList::refresh()
{
    QStringList files = files::recordings(m_hooks.folder());
    std::reverse(files.begin(), files.end()); // newest first
    // Nothing new: the table, its selection and its scroll stay as they are.
    if (m_loaded && files.size() == m_all.size()
        && std::equal(files.begin(), files.end(), m_all.begin(), [](const QString& f, const Entry& e) { return f == e.file; }))
        return;
    QList<Entry> all;
    all.reserve(files.size());
    QHash<QString, qsizetype> seen;
    for (const QString& f : files) {
        const auto it = m_seen.constFind(f);
        seen.insert(f, all.size());
        all.append(it != m_seen.constEnd() ? m_all[*it] : read(f));
    }
    m_all = std::move(all);
    m_seen = std::move(seen);
    m_loaded = true;
    reselect();
}

void RecordingList::reselect()
{
    beginResetModel();
    select();
    endResetModel();
    setStatus(QStringLiteral("%1 of %2 recordings.").arg(m_shown.size()).arg(m_all.size()));
}

void RecordingList::select()
{
    m_shown.clear();
    for (qsizetype i = 0; i < m_all.size(); ++i) {
        const Entry& e = m_all[i];
        const QDate day = e.at.date();
        if ((m_from.isValid() && day < m_from) || (m_to.isValid() && day > m_to))
            continue;
        if (!m_filter.isEmpty()) {
            const QString text = QStringList {e.frequency, e.channel, e.channelName, e.talkgroup, e.talkgroupName, e.file}.join(QLatin1Char(' '));
            if (!text.contains(m_filter, Qt::CaseInsensitive))
                continue;
        }
        m_shown.append(i);
    }
}

void RecordingList::FilterBox_Change(const QString& text)
{
    m_filter = text.trimmed();
    reselect();
}

void RecordingList::FromDate_Change(const QDate& day)
{
    m_from = day;
    reselect();
}

void RecordingList::ToDate_Change(const QDate& day)
{
    m_to = day;
    reselect();
}

bool RecordingList::PlayCmd_Click(int row)
{
    if (row < 0 || row >= m_shown.size() || !m_hooks.play)
        return false;
    QString error;
    const QString path = QDir(m_hooks.folder()).filePath(entry(row).file);
    if (!m_hooks.play(path, &error)) {
        setStatus(QStringLiteral("Cannot play %1: %2").arg(entry(row).file, error));
        return false;
    }
    setStatus(QStringLiteral("Playing %1.").arg(entry(row).file));
    return true;
}

void RecordingList::StopCmd_Click()
{
    if (m_hooks.stop)
        m_hooks.stop();
    setStatus(QStringLiteral("%1 of %2 recordings.").arg(m_shown.size()).arg(m_all.size()));
}

void RecordingList::OpenFolderCmd_Click()
{
    const QString folder = m_hooks.folder();
    QDir().mkpath(folder);
    if (m_hooks.openFolder)
        m_hooks.openFolder(folder);
}

int RecordingList::DeleteCmd_Click(const QList<int>& rows)
{
    QStringList files;
    for (const int row : rows) {
        if (row >= 0 && row < m_shown.size())
            files << entry(row).file;
    }
    if (files.isEmpty())
        return 0;
    const QString question = files.size() == 1 ? QStringLiteral("Delete the recording %1?").arg(files.first())
                                                : QStringLiteral("Delete these %1 recordings?").arg(files.size());
    if (!m_hooks.confirm || !m_hooks.confirm(question))
        return 0;
    if (m_hooks.stop)
        m_hooks.stop(); // one of them may be playing
    const QDir root(m_hooks.folder());
    int deleted = 0;
    QStringList failed;
    for (const QString& f : files) {
        if (QFile::remove(root.filePath(f)))
            ++deleted;
        else
            failed << f;
    }
    refresh();
    if (!failed.isEmpty())
        setStatus(QStringLiteral("Could not delete %1.").arg(failed.join(QStringLiteral(", "))));
    return deleted;
}

int RecordingList::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_shown.size()); }

int RecordingList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant RecordingList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const Entry& e = entry(index.row());
    if (role == Qt::TextAlignmentRole && (index.column() == Length || index.column() == Frequency))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const auto named = [](const QString& what, const QString& name) { return name.isEmpty() ? what : what + QLatin1Char(' ') + name; };
    switch (index.column()) {
    case Time: return e.at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Length: return QStringLiteral("%1 s").arg(e.seconds, 0, 'f', 1);
    case Frequency: return e.frequency;
    case Channel: return e.channel.isEmpty() ? QString() : named(e.channel, e.channelName);
    case Talkgroup: return named(e.talkgroup, e.talkgroupName);
    }
    return {};
}

QVariant RecordingList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kTitles[ColumnCount] = {"Time", "Length", "Frequency", "Channel", "Talkgroup"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

void RecordingList::setStatus(const QString& text)
{
    m_status = text;
    Q_EMIT statusChanged();
}

} // namespace vexlor::recording
