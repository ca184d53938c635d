#pragma once

#include <QLatin1String>
#include <QString>
#include <array>

// The receiver's command vocabulary. Every builder returns the exact line
// without its CR; ScannerLink appends the CR when writing.
namespace vexlor::link::cmd {

// Fixed commands, named after their text on the line.
inline constexpr QLatin1String kWI {"WI"};
inline constexpr QLatin1String kMD {"MD"};
inline constexpr QLatin1String kDL {"DL"};
inline constexpr QLatin1String kSB {"SB"};
inline constexpr QLatin1String kMA {"MA"};
inline constexpr QLatin1String kLO {"LO"};
inline constexpr QLatin1String kIS {"IS"};
inline constexpr QLatin1String kIC {"IC"};
inline constexpr QLatin1String kTB {"TB"};
inline constexpr QLatin1String kSQ {"SQ"};
inline constexpr QLatin1String kLT {"LT"};
inline constexpr QLatin1String kAL {"AL"};
inline constexpr QLatin1String kPR {"PR"};
inline constexpr QLatin1String kDS {"DS"};
inline constexpr QLatin1String kAT {"AT"};
inline constexpr QLatin1String kMU {"MU"};
inline constexpr QLatin1String kLL {"LL"};
inline constexpr QLatin1String kLU {"LU"};
inline constexpr QLatin1String kSI {"SI"};
inline constexpr QLatin1String kVR {"VR"};
inline constexpr QLatin1String kMUN {"MUN"}; // audio mute on
inline constexpr QLatin1String kMUA {"MUA"}; // mute and discriminator monitoring off
inline constexpr QLatin1String kMUF {"MUF"}; // discriminator monitoring on
inline constexpr QLatin1String kQUF {"QUF"};
inline constexpr QLatin1String kQUN {"QUN"};
inline constexpr QLatin1String kIDF {"IDF"};
inline constexpr QLatin1String kIDN {"IDN"};
inline constexpr QLatin1String kAFF {"AFF"};
// Written alone, it goes out as a bare CR.
inline constexpr QLatin1String kEmpty {""};

// Sent in this order before and after a long exchange.
inline constexpr std::array<QLatin1String, 3> kQuietCommands {kMUN, kQUF, kIDF};
inline constexpr std::array<QLatin1String, 3> kReleaseCommands {kMUA, kQUN, kIDN};
// The status requests of every poll tick, in order.
inline constexpr std::array<QLatin1String, 6> kPollQueries {kWI, kMD, kDL, kSB, kMA, kLO};

// Banks or ID lists 1..10 that are on; index 0 is bank 1.
using Selection = std::array<bool, 10>;

// Talkgroup ID as a six-character field, cut or blank-padded on the right.
QString talkgroupField(const QString& id);

// Memory channels.
QString pmRead(int channel);                      // "PM001"
QString pmProgram(int channel, double mhz);       // "PM001 01462000"
QString memoryChannel(int channel);               // "MA001"
QString trunkType(int bank, int type);            // "TR A 1"
QString storeTalkgroup(int bank, int list, int slot, const QString& id); // "TG A B0 012345"
QString idLockoutRelease(const QString& id);      // "ILD 012345", answered "OK" or "OFF"
QString idLockout(const QString& id);             // "ILR 012345"

// Navigation and keys.
QString tune(double mhz);                         // "RF01462000"
QString idChannel(int list, int slot);            // "IC A0"
QString key(int code);                            // "KEY04"
QString keyHeld(int code);                        // "KEY04H"
QString keyDigit(int digit);                      // "KEY02 0"; 10 is keyed as 0

// Settings, "N" for on and "F" for off.
QString delay(bool on);                           // "DLN"
QString lockout(bool on);                         // "LON"
QString priority(bool on);                        // "PRN"
QString dataSkip(bool on);                        // "DSN"
QString attenuator(bool on);                      // "ATN"
QString backlight(bool on);                       // "LTN"
QString autoBacklight(bool on);                   // "ALN"
QString setBanks(const Selection& on);            // "SB AC", "SB " for none
// The command that puts back the banks an "SB" reply reported. No active
// banks come back as "SB " once trimmed: a bare "SB" would only ask.
QString restoreBanks(const QString& reply);
QString setIdLists(const Selection& on);          // "IS AC"
QString lowerLimit(double mhz);                   // "LL01462000"
QString upperLimit(double mhz);                   // "LU01462000"

// Indexed queries.
QString priorityChannel(int bank);                // "PC A"
QString lockoutSearch(int index);                 // "SS01"

} // namespace vexlor::link::cmd
