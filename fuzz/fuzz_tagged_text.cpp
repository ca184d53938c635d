// Any bytes through the tagged text import; what it imported must survive an export and a re-import.
#include "FuzzSupport.h"

#include "memory/MemoryTables.h"
#include "memory/TaggedText.h"

#include <memory>

using namespace vexlor;
using memory::MemoryTables;
namespace tagged = memory::tagged;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytesOf(data, size);
    // Kept for the run and cleared: a fresh 300 KB table per input costs more than the import.
    static const auto first = std::make_unique<MemoryTables>();
    static const auto second = std::make_unique<MemoryTables>();
    first->clear();
    second->clear();
    const tagged::ImportCount read = tagged::importText(input, *first);
    VEXLOR_FUZZ_CHECK(read.lines >= 1 && read.records + read.skipped <= read.lines);

    const QByteArray exported = tagged::exportText(*first);
    const tagged::ImportCount again = tagged::importText(exported, *second);
    // The export writes only lines its own import takes.
    VEXLOR_FUZZ_CHECK(again.skipped == 0);
    VEXLOR_FUZZ_CHECK(again.records == again.lines || exported.isEmpty());
    VEXLOR_FUZZ_CHECK(tagged::exportText(*second) == exported);
    return 0;
}
