#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>

namespace vexlor::recording {

// The "Recordings" set-up window's logic: on or off, the sound input, the file
// format, what to record, the lengths and the disk limit. Apply keeps them and
// starts, changes or stops recording at once.
class RecordingSetup : public QObject {
    Q_OBJECT
public:
    enum class Policy { Everything = 0, MarkedOnly = 1, SkipLockedOut = 2 };
    struct Settings {
        bool enabled = false;
        QString device;       // an input's id; empty: the system's default
        bool opus = false;    // Ogg/Opus instead of FLAC
        Policy policy = Policy::Everything;
        QString marked;       // channels and talkgroups to record: "12, 45, 002032"
        int minimumMs = 500;
        int hangMs = 1000;
        int limitGb = 2;      // 0: none
        int limitDays = 30;   // 0: none
    };
    struct Hooks {
        std::function<Settings()> load;
        // Keeps and applies them; the line the window shows afterwards.
        std::function<QString(const Settings&)> apply;
        std::function<QString()> status;
        std::function<QList<QPair<QString, QString>>()> inputs; // id, description
    };

    explicit RecordingSetup(Hooks hooks, QObject* parent = nullptr);

    // "12, 45,002032 " as channel numbers and talkgroup IDs; false with the first entry that is neither.
    static bool parseMarked(const QString& text, QSet<int>* channels, QSet<QString>* talkgroups, QString* bad);

    const Settings& settings() const { return m_settings; }
    const QString& StatusLbl() const { return m_status; }
    const QList<QPair<QString, QString>>& inputs() const { return m_inputs; }

    void open();
    void EnabledChk_Click(bool on);
    void DeviceBox_Click(int index); // into inputs()
    void FormatBox_Click(int index); // 0 FLAC, 1 Ogg/Opus
    void PolicyBox_Click(int index);
    void MarkedBox_Change(const QString& text);
    void MinimumBox_Change(int ms);
    void HangBox_Change(int ms);
    void LimitGbBox_Change(int gb);
    void LimitDaysBox_Change(int days);
    // False when the marked list does not read; nothing changes then.
    bool ApplyCmd_Click();

Q_SIGNALS:
    void changed();

private:
    Hooks m_hooks;
    Settings m_settings;
    QList<QPair<QString, QString>> m_inputs;
    QString m_status;
};

} // namespace vexlor::recording
