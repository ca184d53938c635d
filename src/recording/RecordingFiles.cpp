#include "recording/RecordingFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace vexlor::recording::files {

namespace {

// Letters, digits, dots and dashes only: a name from the receiver never makes a path.
QString safe(const QString& text)
{
    static const QRegularExpression unsafe(QStringLiteral("[^A-Za-z0-9.-]+"));
    return text.trimmed().replace(unsafe, QStringLiteral("-")).left(40);
}

const QStringList kExtensions {QStringLiteral("*.flac"), QStringLiteral("*.opus")};

} // namespace

QString relativeName(const Heard& heard, const QString& extension)
{
    QString name = heard.at.toString(QStringLiteral("yyyy-MM-dd/HHmmss_"));
    name += heard.channel.isEmpty() ? safe(heard.frequency) : QStringLiteral("Ch") + safe(heard.channel);
    if (!heard.talkgroup.isEmpty())
        name += QLatin1Char('_') + safe(heard.talkgroup);
    return name + QLatin1Char('.') + extension;
}

platform::AudioFileWriter::Tags tags(const Heard& heard)
{
    platform::AudioFileWriter::Tags t;
    const QString place = heard.channel.isEmpty() ? heard.frequency : QStringLiteral("Ch %1").arg(heard.channel);
    t.title = heard.channelName.isEmpty() ? place : place + QLatin1Char(' ') + heard.channelName;
    t.artist = heard.talkgroupName.isEmpty() ? heard.talkgroup : heard.talkgroup + QLatin1Char(' ') + heard.talkgroupName;
    t.album = heard.bank;
    QStringList facts {QStringLiteral("frequency=") + heard.frequency};
    const std::pair<const char*, const QString*> optional[] = {
        {"channel=", &heard.channel}, {"channelType=", &heard.channelType}, {"talkgroup=", &heard.talkgroup},
        {"talkgroupType=", &heard.talkgroupType}, {"bank=", &heard.bank}};
    for (const auto& [key, value] : optional) {
        if (!value->isEmpty())
            facts << QLatin1String(key) + *value;
    }
    t.comment = facts.join(QLatin1Char(' '));
    t.date = heard.at.toString(Qt::ISODate);
    return t;
}

QString freeName(const QString& path)
{
    if (!QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    for (int n = 2;; ++n) {
        const QString candidate = info.dir().filePath(QStringLiteral("%1_%2.%3").arg(info.completeBaseName()).arg(n).arg(info.suffix()));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

QStringList recordings(const QString& folder)
{
    QStringList found;
    const QDir root(QDir(folder).absolutePath());
    QDirIterator it(root.path(), kExtensions, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << root.relativeFilePath(it.next());
    found.sort();
    return found;
}

QStringList prune(const QString& folder, qint64 limitBytes, int maxAgeDays, const QDate& today, const QString& spare)
{
    const QDir root(folder);
    const QStringList all = recordings(folder);
    QList<qint64> sizes;
    qint64 total = 0;
    for (const QString& f : all) {
        sizes << QFileInfo(root.filePath(f)).size();
        total += sizes.last();
    }
    const QDate oldest = maxAgeDays > 0 ? today.addDays(-maxAgeDays) : QDate();
    QStringList removed;
    for (qsizetype i = 0; i < all.size(); ++i) {
        const QDate day = QDate::fromString(all[i].section(QLatin1Char('/'), 0, 0), QStringLiteral("yyyy-MM-dd"));
        const bool tooOld = oldest.isValid() && day.isValid() && day < oldest;
        if (!tooOld && (limitBytes <= 0 || total <= limitBytes))
            break;
        if (all[i] == spare || !QFile::remove(root.filePath(all[i])))
            continue;
        total -= sizes[i];
        removed << all[i];
        root.rmdir(QFileInfo(all[i]).path()); // only when that emptied it
    }
    return removed;
}

} // namespace vexlor::recording::files
