#pragma once

#include "recording/LogFlags.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>

namespace vexlor::platform {
class Clock;
class Shell;
} // namespace vexlor::platform

namespace vexlor::recording {

// The logic behind the "&Log Function" menu and the Log window: what the
// window shows and what its buttons and the menu items do.
class LogSetup {
public:
    // The nine check boxes, in LogWhat order: LogEnableChk, DateChk, TimeChk,
    // FrequencyChk, FreqTypeChk, FreqNameChk, IDChk, IDTypeChk, IDNameChk.
    using Checks = std::array<bool, 9>;

    struct State {
        bool specificName = false; // Option1; otherwise Option2 (automatic)
        QString fileName;          // FileNameBox
        Checks checks {};
        bool operator==(const State&) const = default;
    };

    struct Config {
        std::function<QString()> logFileNameVal;
        std::function<void(const QString& logFileNameVal)> setLogFileNameVal;
        // Refreshes ComPort, ComSettings and LogWhat from the running state and writes the file.
        std::function<void()> saveConfig;
    };

    // openLogPath: the log file open for this run, empty when none is open.
    LogSetup(LogFlags& flags, Config config, const platform::Clock& clock, platform::Shell& shell,
             std::function<QString()> openLogPath);

    // "&Log Enable": toggles logging and saves; returns the new check mark.
    bool LogOnOFF();
    bool logEnabled() const { return m_flags.LogEnableVal == 1; }

    // Opening the window. A switch of 1 checks its box; a switch of 0 leaves
    // the box as the window had it.
    State load(const Checks& current) const;
    // OK: stores the name choice and the switches, saves, returns the "&Log Enable" check mark.
    bool ok(const State& state);

    // Opens the log of this run in the desktop's editor; false when no log is open.
    bool openLog();

    // "2001-10-23_": what start-up puts before an automatic name made that day.
    static QString automaticPrefix(const QDate& day);
    // The name as the configuration file can hold it: an "=" would make the
    // line unreadable and a line break would inject other settings, so both
    // go, as do other control characters and what a single-byte file cannot hold.
    static QString storableName(const QString& boxText);
    static bool isStorableName(const QString& text) { return storableName(text) == text; }

private:
    LogFlags& m_flags;
    Config m_config;
    const platform::Clock& m_clock;
    platform::Shell& m_shell;
    std::function<QString()> m_openLogPath;
};

} // namespace vexlor::recording
