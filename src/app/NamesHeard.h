#pragma once

#include <QString>

namespace vexlor::memory {
class MemoryTables;
}
namespace vexlor::recording {
class SampleEvent;
}

namespace vexlor::app {

// The name the operator gave what a record heard: a channel by its number, a
// talkgroup by its bank's ID lists; empty for none.
QString nameHeard(const memory::MemoryTables& tables, const recording::SampleEvent& e);

} // namespace vexlor::app
