#include "monitor/ModeTable.h"

#include "link/Wire.h"

#include <array>

namespace vexlor::monitor {

namespace {

// Indexed by code; null where the receiver has no caption.
constexpr std::array<const char*, 22> kCaptions {
    "Scan Mode",         "Manual Mode",       "Limit Search",      "Search Hld",
    "Svc Search",        "Svc Search Hld",    "Trunk Program (M)", "Trunk Program (E)",
    "Trunk Program",     "ID Search (M)",     "ID Search (M) Hld", "Scan ID (M)",
    "Manual ID (M)",     "ID L/O Review (M)", nullptr,             "ID Search (E)",
    "ID Search (E) Hld", "Scan ID (E)",       "Manual ID (E)",     "ID L/O Review (E)",
    nullptr,             "Direct Listening",
};

} // namespace

int modeCode(QStringView field) { return link::wire::leadingInt(field); }

std::optional<QString> modeCaption(int code)
{
    if (code < 0 || code >= int(kCaptions.size()) || !kCaptions[size_t(code)])
        return std::nullopt;
    return QString::fromLatin1(kCaptions[size_t(code)]);
}

bool clearsIdReadouts(int code) { return code < 6; }
bool isTrunking(int code) { return code >= 6 && code <= 19; }
bool measuresWithoutChannel(int code) { return (code >= 2 && code <= 5) || code == 21; }
bool suppressesChannelLog(int code) { return code >= 9 && code <= 18; }
bool popsUpWithSquelch(int code) { return code < 9; }
bool popsUpWithCalls(int code) { return code > 9; }
bool isHold(int code) { return code == 1 || code == 3 || code == 10 || code == 16; }

} // namespace vexlor::monitor
