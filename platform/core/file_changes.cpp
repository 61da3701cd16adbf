// Win32 file attributes and directory change notifications over Linux. Implements:
// GetFileAttributesExA (GetFileExInfoStandard), FindFirstChangeNotificationA,
// FindNextChangeNotification, FindCloseChangeNotification, and WaitForSingleObject on change
// notification handles. Leaves out: subtree watching (bWatchSubtree is refused), the security
// and last-access filters, and waiting on any other kind of handle (WAIT_FAILED).
//
// A change handle is an inotify instance on the directory. Its filter maps to inotify events:
// FILE_NAME and DIR_NAME to creation, deletion and renames (of files or of directories), SIZE
// to every write, LAST_WRITE to a write's close and to a time set by hand (touch), ATTRIBUTES to
// metadata changes. So a program that asks for LAST_WRITE sees a file when its writer closes it,
// not half written, and sees an editor's save that writes a new file and renames it over the
// old one through FILE_NAME. As on Win32, a change made while the handle is signalled stays
// recorded and signals it again after FindNextChangeNotification.
//
// ftCreationTime is the file's birth time where the file system keeps one (a file renamed over
// another is a new file), else zero; ftLastAccessTime is the access time.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "platform/core/call_trace.h"
#include "platform/window_input.h"

namespace {

struct ChangeHandle {
    int fd = -1;
    DWORD filter = 0;
    bool signalled = false;
};

constexpr std::uint64_t kEpochDifference = 11644473600ull;  // 1601-01-01 to 1970-01-01, seconds

FILETIME FileTimeOf(std::int64_t seconds, std::uint32_t nanoseconds) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(seconds) + kEpochDifference) * 10000000ull + nanoseconds / 100;
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::uint32_t InotifyMask(DWORD filter) {
    std::uint32_t mask = 0;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME))
        mask |= IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (filter & FILE_NOTIFY_CHANGE_SIZE) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    if (filter & FILE_NOTIFY_CHANGE_LAST_WRITE) mask |= IN_CLOSE_WRITE | IN_ATTRIB;
    if (filter & FILE_NOTIFY_CHANGE_ATTRIBUTES) mask |= IN_ATTRIB;
    return mask;
}

// Whether one event is a change the handle's filter asks for.
bool Matches(const inotify_event& e, DWORD filter) {
    constexpr std::uint32_t kNames = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
    if (e.mask & kNames) {
        return (e.mask & IN_ISDIR) ? (filter & FILE_NOTIFY_CHANGE_DIR_NAME) != 0
                                   : (filter & FILE_NOTIFY_CHANGE_FILE_NAME) != 0;
    }
    // A watch removed, or the queue overflowed: something may have changed.
    if (e.mask & (IN_Q_OVERFLOW | IN_IGNORED)) return true;
    return (e.mask & InotifyMask(filter & ~(FILE_NOTIFY_CHANGE_FILE_NAME |
                                            FILE_NOTIFY_CHANGE_DIR_NAME))) != 0;
}

// Takes every pending event; returns whether any matched.
bool Drain(ChangeHandle& h) {
    alignas(inotify_event) char buffer[4096];
    bool matched = false;
    for (;;) {
        const ssize_t n = read(h.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        for (ssize_t at = 0; at < n;) {
            inotify_event e;
            std::memcpy(&e, buffer + at, sizeof e);
            matched = matched || Matches(e, h.filter);
            at += static_cast<ssize_t>(sizeof(inotify_event) + e.len);
        }
    }
    return matched;
}

}  // namespace

BOOL GetFileAttributesExA(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId,
                          LPVOID lpFileInformation) {
    BOOL ok = FALSE;
    struct statx st {};
    if (lpFileName && lpFileInformation && fInfoLevelId == GetFileExInfoStandard &&
        statx(AT_FDCWD, lpFileName, 0, STATX_BASIC_STATS | STATX_BTIME, &st) == 0) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (S_ISDIR(st.stx_mode)) data.dwFileAttributes |= FILE_ATTRIBUTE_DIRECTORY;
        if (!(st.stx_mode & S_IWUSR)) data.dwFileAttributes |= FILE_ATTRIBUTE_READONLY;
        if (!data.dwFileAttributes) data.dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (st.stx_mask & STATX_BTIME)
            data.ftCreationTime = FileTimeOf(st.stx_btime.tv_sec, st.stx_btime.tv_nsec);
        data.ftLastAccessTime = FileTimeOf(st.stx_atime.tv_sec, st.stx_atime.tv_nsec);
        data.ftLastWriteTime = FileTimeOf(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
        data.nFileSizeHigh = static_cast<DWORD>(st.stx_size >> 32);
        data.nFileSizeLow = static_cast<DWORD>(st.stx_size);
        std::memcpy(lpFileInformation, &data, sizeof data);
        ok = TRUE;
    }
    platform::Trace("GetFileAttributesExA",
                    platform::Args(lpFileName, fInfoLevelId, platform::OutArg(lpFileInformation)),
                    platform::Fmt(ok));
    return ok;
}

HANDLE FindFirstChangeNotificationA(LPCSTR lpPathName, BOOL bWatchSubtree, DWORD dwNotifyFilter) {
    HANDLE result = INVALID_HANDLE_VALUE;
    const std::uint32_t mask = InotifyMask(dwNotifyFilter);
    if (lpPathName && !bWatchSubtree && mask) {
        const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd >= 0 && inotify_add_watch(fd, lpPathName, mask | IN_ONLYDIR) >= 0) {
            auto* h = new ChangeHandle;
            h->fd = fd;
            h->filter = dwNotifyFilter;
            platform::RegisterObjectName(h, "change");
            result = h;
        } else if (fd >= 0) {
            close(fd);
        }
    }
    platform::Trace(
        "FindFirstChangeNotificationA", platform::Args(lpPathName, bWatchSubtree, dwNotifyFilter),
        result == INVALID_HANDLE_VALUE ? "INVALID_HANDLE_VALUE" : platform::ObjectName(result));
    return result;
}

BOOL FindNextChangeNotification(HANDLE hChangeHandle) {
    const BOOL ok = hChangeHandle && hChangeHandle != INVALID_HANDLE_VALUE;
    if (ok) static_cast<ChangeHandle*>(hChangeHandle)->signalled = false;
    platform::Trace("FindNextChangeNotification", platform::Args(hChangeHandle), platform::Fmt(ok));
    return ok;
}

BOOL FindCloseChangeNotification(HANDLE hChangeHandle) {
    const BOOL ok = hChangeHandle && hChangeHandle != INVALID_HANDLE_VALUE;
    platform::Trace("FindCloseChangeNotification", platform::Args(hChangeHandle),
                    platform::Fmt(ok));
    if (ok) {
        auto* h = static_cast<ChangeHandle*>(hChangeHandle);
        close(h->fd);
        delete h;
    }
    return ok;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    DWORD result = WAIT_FAILED;
    if (hHandle && hHandle != INVALID_HANDLE_VALUE) {
        auto* h = static_cast<ChangeHandle*>(hHandle);
        if (!h->signalled) h->signalled = Drain(*h);
        // A change the filter does not ask for wakes the poll too: wait on until the deadline.
        const auto start = std::chrono::steady_clock::now();
        while (!h->signalled && dwMilliseconds) {
            int timeout = -1;
            if (dwMilliseconds != INFINITE) {
                const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                         std::chrono::steady_clock::now() - start)
                                         .count();
                if (elapsed >= dwMilliseconds) break;
                timeout = static_cast<int>(std::min<long long>(dwMilliseconds - elapsed, INT_MAX));
            }
            pollfd p{h->fd, POLLIN, 0};
            const int n = poll(&p, 1, timeout);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            h->signalled = Drain(*h);
        }
        result = h->signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
    }
    platform::Trace("WaitForSingleObject", platform::Args(hHandle, dwMilliseconds),
                    platform::Fmt(result));
    return result;
}
