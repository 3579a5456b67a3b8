#include "platform/standard_streams.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace {
// Whether `fd` was closed; it is open on /dev/null afterwards, when the system has one.
bool ReopenOnNullWhenClosed(int fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
        return false;
    }
    // The lower descriptors are open by now, so the system gives `fd` itself.
    const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) {
        ::dup2(opened, fd);
        ::close(opened);
    }
    return true;
}
}  // namespace

ClosedStandardStreams OpenNullOnClosedStandardStreams() {
    ClosedStandardStreams closed;
    closed.input = ReopenOnNullWhenClosed(0);
    closed.output = ReopenOnNullWhenClosed(1);
    closed.error = ReopenOnNullWhenClosed(2);
    return closed;
}
