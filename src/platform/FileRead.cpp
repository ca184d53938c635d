#include "platform/FileRead.h"

#include "platform/SystemError.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace vexlor::platform {

namespace {
constexpr int kLookMs = 100;
constexpr qint64 kChunk = 64 * 1024;

void failed(FileReadResult& r, int error)
{
    r.errorNumber = error;
    r.reason = systemReason(error);
}
} // namespace

FileReadResult readFile(const QString& path, qint64 maxBytes, const std::function<bool()>& cancelled)
{
    FileReadResult r;
    const auto stop = [&] { return cancelled && cancelled(); };
    // Non-blocking: opening a FIFO would otherwise wait for its writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failed(r, errno);
        return r;
    }
    r.opened = true;
    for (;;) {
        if (stop()) {
            r.cancelled = true;
            break;
        }
        pollfd p {fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, kLookMs);
        if (ready < 0 && errno != EINTR) {
            failed(r, errno);
            break;
        }
        if (ready <= 0)
            continue;
        const qint64 room = std::min(kChunk, maxBytes + 1 - r.bytes.size());
        const qsizetype at = r.bytes.size();
        r.bytes.resize(at + room);
        const ssize_t n = ::read(fd, r.bytes.data() + at, size_t(room));
        r.bytes.resize(at + std::max<ssize_t>(n, 0));
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue;
        if (n < 0) {
            failed(r, errno);
            break;
        }
        if (r.bytes.size() > maxBytes) {
            r.tooLarge = true;
            break;
        }
        if (n == 0) {
            r.complete = true;
            break;
        }
    }
    ::close(fd);
    return r;
}

} // namespace vexlor::platform
