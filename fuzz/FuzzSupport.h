#pragma once

// Shared by the fuzz programs: an application object for the code that
// needs one, input split into the pieces a serial line or a socket delivers,
// and a loud stop when an invariant breaks.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QHashFunctions>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace vexlor::fuzz {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv); // lives for the whole run
}

// Files for the targets that read from disk; in memory when the system offers it, for speed.
inline const QTemporaryDir& scratchDir()
{
    static const QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                       ? QStringLiteral("/dev/shm/vexlor-fuzz-XXXXXX")
                                       : QDir::tempPath() + QStringLiteral("/vexlor-fuzz-XXXXXX"));
    return dir;
}

[[noreturn]] inline void violated(const char* what)
{
    std::fprintf(stderr, "invariant violated: %s\n", what);
    std::fflush(stderr);
    __builtin_trap();
}

#define VEXLOR_FUZZ_CHECK(cond) \
    do { \
        if (!(cond)) \
            ::vexlor::fuzz::violated(#cond); \
    } while (0)

// Arrival sizes vary with the position so a message is split at every place
// over a run, while the corpus stays plain recorded traffic.
inline QList<QByteArray> arrivals(const QByteArray& bytes)
{
    static constexpr int kSizes[] = {7, 1, 23, 64, 3, 200, 16, 2};
    QList<QByteArray> out;
    qsizetype pos = 0;
    for (int i = 0; pos < bytes.size(); ++i) {
        const qsizetype n = kSizes[i % std::size(kSizes)];
        out.append(bytes.mid(pos, n));
        pos += n;
    }
    return out;
}

// True for about one input in `every`, picked by its bytes so a finding replays.
// Not by its size: inputs pile up at the length limit, which is a round number.
inline bool oneIn(const uint8_t* data, size_t size, size_t every)
{
    return qHashBits(data, size) % every == 0;
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace vexlor::fuzz
