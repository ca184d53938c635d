#pragma once

#include "app/config/IniFile.h"
#include "recording/LogFlags.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vexlor::platform {
class Dialogs;
class SerialPort;
} // namespace vexlor::platform

namespace vexlor::app {

// How the set-up window was left, for the caller that decides what happens next.
enum class StartOutcome {
    ClosedByFrame, // closed by the window frame: start-up goes on, nothing changed
    Cancelled,     // Cancel while the port is open: the program goes on
    EndNow,        // saved, or Cancel with the port closed: end at once, without the shut-down sequence
};

// The logic behind the set-up window: what it shows and what its buttons do.
// Choices take effect at the next start; this class never ends the program.
class StartSetup {
public:
    // The running values that OK writes into the file.
    struct Running {
        std::function<double()> serialPortTimeout;
        std::function<recording::LogFlags()> logFlags;
        // The open port was given for this run only: shown, but stored only
        // when the operator picks another text.
        bool portForThisRun = false;
    };
    struct Texts {
        QString userName;
        QString port;
        QString speed;
    };

    StartSetup(IniFile& ini, platform::SerialPort& port, platform::Dialogs& dialogs, Running running);

    // "Com 1".."Com 12", then the devices found on this machine.
    static QStringList portItems(const QStringList& devicePaths);
    static QStringList speedItems();
    // The receiver preparation text, one instruction a line.
    static QString messageText();

    // The port text to store, or nullopt when the text names no port.
    static std::optional<QString> comPortFromText(const QString& portText);
    // "N,n,8,1" for the four speeds, nullopt for anything else.
    static std::optional<QString> settingsForSpeed(const QString& speedText);

    Texts load() const;
    // Stores the choice. True when the file was written and the program must
    // now end; false (after telling the operator) when it could not be saved.
    bool ok(const Texts& chosen);
    StartOutcome cancel() const;

private:
    IniFile& m_ini;
    platform::SerialPort& m_port;
    platform::Dialogs& m_dialogs;
    Running m_running;
};

} // namespace vexlor::app
