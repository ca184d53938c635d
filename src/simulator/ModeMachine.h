#pragma once

#include "simulator/FunctionFlags.h"
#include "simulator/MemoryState.h"

#include <QByteArray>

namespace vexlor::simulator {

// The receiver's operating mode and where it stands (channel, frequency,
// trunk bank, ID channel), and what its keys do to them.
class ModeMachine {
public:
    enum Mode {
        Scan = 0,
        Manual = 1,
        LimitSearch = 2,
        SearchHold = 3,
        ServiceSearch = 4,
        ServiceSearchHold = 5,
        TrunkProgramM = 6,
        TrunkProgramE = 7,
        TrunkProgram = 8,
        IdSearchM = 9,
        IdSearchHoldM = 10,
        ScanIdM = 11,
        ManualIdM = 12,
        IdReviewM = 13,
        IdSearchE = 15,
        IdSearchHoldE = 16,
        ScanIdE = 17,
        ManualIdE = 18,
        IdReviewE = 19,
        Direct = 21,
    };

    ModeMachine(MemoryState& memory, FunctionFlags& flags);

    static bool isChannelMode(int m) { return m == Scan || m == Manual; }
    static bool isSearchMode(int m) { return m >= LimitSearch && m <= ServiceSearchHold; }
    static bool isProgrammingMode(int m) { return m >= TrunkProgramM && m <= TrunkProgram; }
    static bool isIdMode(int m) { return (m >= IdSearchM && m <= IdReviewM) || (m >= IdSearchE && m <= IdReviewE); }
    static bool isTrunkMode(int m) { return isProgrammingMode(m) || isIdMode(m); }

    int mode() const { return m_mode; }
    // Changes whenever the mode does, so a reception in progress can end.
    quint64 modeRevision() const { return m_modeRevision; }

    int channel() const { return m_channel; }
    qint32 frequency() const { return m_frequency; }
    int offset() const { return m_offset; }
    int trunkBank() const { return m_trunkBank; }
    int idList() const { return m_idList; }
    int idPosition() const { return m_idPosition; }
    int currentId() const { return m_currentId; }

    // Moves made by the receiver itself while scanning and searching.
    void restOnChannel(int number);
    void restOnFrequency(qint32 units);
    void setOffset(int offset) { m_offset = offset; }
    void hearId(int id);
    void restOnIdChannel(int list, int position);

    // "MA" + channel: manual mode on that channel.
    void goToChannel(int number);
    // "RF": false outside manual and direct listening.
    bool tune(qint32 units);
    // "IC " + list + position: false outside the trunk ID modes.
    bool goToIdChannel(int list, int position);

    // "PM" with a frequency: where programming is allowed and for which channel.
    bool canProgram(int number) const;
    void programmed(int number);

    // The delay and lock-out flags of whatever the mode stands on.
    bool delay() const;
    bool setDelay(bool on);
    bool lockout() const;
    bool setLockout(bool on);

    // One key; digit is 0..9 for "KEY02 d" and -1 otherwise. False: refused.
    bool key(int code, bool held, int digit);

private:
    void setMode(int m);
    bool edacs() const;
    int pick(int motorola) const { return edacs() ? motorola + (IdSearchE - IdSearchM) : motorola; }
    int chooseTrunkBank() const;
    void enterTrunkBank(int bank, int motorolaMode);
    int heldChannel() const;
    void followChannel();
    bool digitKey(int digit);
    bool enterKey();
    bool holdKey();
    bool manualKey();

    MemoryState& m_memory;
    FunctionFlags& m_flags;
    int m_mode = Scan;
    quint64 m_modeRevision = 0;
    int m_channel = 1;
    qint32 m_frequency = 0;
    int m_offset = 110;
    int m_trunkBank = 0;
    int m_idList = 1;
    int m_idPosition = 1;
    int m_currentId = 0;
    int m_programBankChoice = 0; // digit picked in trunk programming
    int m_programChannel = 0;    // next channel of trunk programming
    int m_lastProgrammed = 0;
    QByteArray m_entry;          // digits typed on the keypad
};

} // namespace vexlor::simulator
