// Any bytes from the receiver through the poll's line assembly into the status decoder.
#include "FuzzSupport.h"
#include "MonitorRig.h"

#include "link/Commands.h"
#include "monitor/PollCycle.h"

using namespace vexlor;
using monitor::PollCycle;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A fresh 300 KB table per input would be most of the time.
    static const auto tables = monitor::testing::MonitorRig::filledTables();
    monitor::testing::MonitorRig rig {tables, QStringLiteral("/dev/null")};
    PollCycle poll {rig.port, rig.link, rig.decoder, rig.display};
    const qsizetype limit = PollCycle::kMaxPendingInput;

    for (const QByteArray& piece : fuzz::arrivals(fuzz::bytesOf(data, size))) {
        rig.port.feed(piece);
        poll.tick();
        rig.clock.advanceMs(PollCycle::kIntervalMs);
        // Noise without a CR must not pile up from tick to tick.
        VEXLOR_FUZZ_CHECK(poll.PendingInput().size() <= limit);
        for (const QString& line : rig.link.ReplyLines()) {
            VEXLOR_FUZZ_CHECK(!line.contains(QLatin1Char('\r')));
            VEXLOR_FUZZ_CHECK(!line.contains(QLatin1String("NG")) && !line.contains(QLatin1String("ERR")));
        }
        // A follow-up query is never an empty line: the receiver would answer it with an error.
        for (const QString& command : rig.takeWritten())
            VEXLOR_FUZZ_CHECK(!command.isEmpty());
    }
    return 0;
}
