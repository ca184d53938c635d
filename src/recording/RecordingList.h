#pragma once

#include "platform/AudioFileWriter.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <functional>

namespace vexlor::recording {

// The Recordings window's logic and table: every recording in the folder,
// newest first, filtered by text and dates, with their lengths and names
// read from the files themselves; play, stop, delete, open the folder.
class RecordingList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Length, Frequency, Channel, Talkgroup, ColumnCount };
    struct Entry {
        QString file; // relative to the folder
        QDateTime at;
        double seconds = 0;
        QString frequency, channel, channelName, talkgroup, talkgroupName;
    };
    struct Hooks {
        std::function<QString()> folder;
        std::function<bool(const QString& path, double* seconds, platform::AudioFileWriter::Tags* tags)> info;
        std::function<bool(const QString& path, QString* error)> play;
        std::function<void()> stop;
        std::function<void(const QString& folder)> openFolder;
        std::function<bool(const QString& question)> confirm;
    };

    explicit RecordingList(Hooks hooks, QObject* parent = nullptr);

    // Reads the folder again; only files not seen before are opened.
    void refresh();
    const Entry& entry(int row) const { return m_all[m_shown[row]]; }
    // Every recording as of the last refresh, newest first, whatever the window's filter.
    const QList<Entry>& all() const { return m_all; }
    QString StatusLbl() const { return m_status; }

    void FilterBox_Change(const QString& text);
    void FromDate_Change(const QDate& day); // invalid: no limit
    void ToDate_Change(const QDate& day);
    bool PlayCmd_Click(int row);
    void StopCmd_Click();
    void OpenFolderCmd_Click();
    // Asks first; the number deleted.
    int DeleteCmd_Click(const QList<int>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void statusChanged();

private:
    Entry read(const QString& file) const;
    void select();
    // The filter applied afresh to what was read.
    void reselect();
    void setStatus(const QString& text);

    Hooks m_hooks;
    QList<Entry> m_all; // newest first
    QHash<QString, qsizetype> m_seen;
    QList<qsizetype> m_shown;
    QString m_filter;
    QDate m_from, m_to;
    QString m_status;
    bool m_loaded = false;
};

} // namespace vexlor::recording
