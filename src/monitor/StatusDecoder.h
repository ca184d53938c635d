#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace vexlor::platform {
class Clock;
}
namespace vexlor::link {
class ScannerLink;
}
namespace vexlor::memory {
class MemoryTables;
}
namespace vexlor::recording {
class ActivityLog;
class MeasureIntfc;
}

namespace vexlor::monitor {

class CompactDisplay;
class FreqLockoutList;
class MainDisplay;

// Turns the receiver's status lines into display state, log lines,
// measurements and follow-up queries. Writes no widget.
class StatusDecoder : public QObject {
    Q_OBJECT
public:
    struct Parts {
        MainDisplay& display;
        CompactDisplay& compact;
        FreqLockoutList& lockouts;
        const memory::MemoryTables& tables;
        recording::ActivityLog& log;
        recording::MeasureIntfc& meas;
        link::ScannerLink& link;
        const platform::Clock& clock;
    };

    explicit StatusDecoder(const Parts& parts, QObject* parent = nullptr);

    // Decodes the link's ReplyLines, then publishes the displays.
    void DecodeStatusLines();
    void decode(const QStringList& lines);

    // State other parts read.
    int CurrentChannel = 0;
    int ModeCode = 0;
    std::optional<int> oldMODE;
    std::array<int, 11> PriorityChannels {};
    std::array<QString, 11> ActiveBanks;
    std::array<QString, 11> ActiveIDLists;
    int LogNext = 0;
    double LogLastTimer = 0;
    QString LastSIReply;
    QString LastVRReply;

Q_SIGNALS:
    // A "TB" line: the trunk system the receiver reports for a bank.
    void trunkSystemReported(int bank, const QString& system);

private:
    void decodeLine(const QString& line);
    void onChannel(const QString& line);
    void onSquelchOpen();
    void onSquelchClosed();
    void onFrequency(const QString& line);
    void onCallStart(const QString& line);
    void onCallEnd(const QString& line);
    void onMode(const QString& line);
    void onPriority(const QString& line);
    void onTrunkBank(const QString& line);
    void onIdChannel(const QString& line);
    void onSearchLockout(const QString& line);
    void onFlag(const QString& line, int lamp);
    void onBacklight(const QString& line, bool automatic);
    void onAudio(const QString& line);
    void onLimit(const QString& line, bool lower);
    void onActiveSet(const QString& line, bool banks);

    void logReception(const QString& freqType);
    int trunkBank() const;
    std::optional<QString> channelText(int row, int col) const;
    std::optional<QString> idText(int bank, int slot, int col) const;

    Parts m_p;
};

} // namespace vexlor::monitor
