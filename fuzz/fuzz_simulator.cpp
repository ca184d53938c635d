// Any bytes from the program through the simulator's command assembly into the receiver model.
#include "FuzzSupport.h"

#include "simulator/LineAssembler.h"
#include "simulator/ReceiverModel.h"

using namespace vexlor;
using simulator::LineAssembler;
using simulator::ReceiverModel;

namespace {

constexpr quint32 kSeed = 7;
constexpr qint64 kTickMs = 50;

// Every reply line of the run, in order, time passing between arrivals.
QList<QByteArray> run(const QList<QByteArray>& pieces)
{
    LineAssembler assembler;
    ReceiverModel model(kSeed);
    QList<QByteArray> out;
    for (const QByteArray& piece : pieces) {
        for (const LineAssembler::Command& c : assembler.feed(piece)) {
            VEXLOR_FUZZ_CHECK(!c.text.contains('\r') && !c.text.contains('\n'));
            VEXLOR_FUZZ_CHECK(c.text.size() <= LineAssembler::kMaxLine);
            if (!c.overlong)
                out += model.handle(c.text);
        }
        VEXLOR_FUZZ_CHECK(assembler.pending() <= LineAssembler::kMaxLine);
        out += model.advance(kTickMs);
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> pieces = fuzz::arrivals(fuzz::bytesOf(data, size));
    const QList<QByteArray> replies = run(pieces);
    // A CR inside a reply would reach the program as two lines.
    for (const QByteArray& line : replies)
        VEXLOR_FUZZ_CHECK(!line.contains('\r'));
    // The model is a function of its seed and its input.
    VEXLOR_FUZZ_CHECK(run(pieces) == replies);
    return 0;
}
