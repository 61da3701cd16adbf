// The platform's file attributes and change notifications, as Win32 defines them: attributes
// and times read back against the file system's own, a handle signalled only by the changes its
// filter names, re-armed by FindNextChangeNotification, never blocking with a zero wait, and a
// change made while it is signalled kept for the next wait.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/window_input.h"
#include "tests/test_files.h"

namespace {

std::uint64_t Ticks(const FILETIME& t) {
    return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
}

// A FILETIME counts 100 ns from 1601-01-01: 11644473600 s before the Unix epoch.
std::uint64_t TicksOf(const timespec& t) {
    return (static_cast<std::uint64_t>(t.tv_sec) + 11644473600ull) * 10000000ull +
           static_cast<std::uint64_t>(t.tv_nsec) / 100;
}

TEST(FileAttributes, SizeTimesAndKindAreTheFileSystems) {
    test::TempDir dir;
    const std::string file = dir.Path("a.psh");
    test::WriteFile(file, std::string(5000, 'x'));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(data.nFileSizeLow, 5000u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(Ticks(data.ftLastWriteTime), TicksOf(st.st_mtim));
    EXPECT_EQ(Ticks(data.ftLastAccessTime), TicksOf(st.st_atim));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);

    ASSERT_TRUE(GetFileAttributesExA(dir.path().c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_READONLY);

    // The creation time is the birth time, where the file system keeps one: a file renamed over
    // another brings its own.
    test::WriteFile(dir.Path("b.psh"), std::string(5000, 'y'));
    ASSERT_EQ(std::rename(dir.Path("b.psh").c_str(), file.c_str()), 0);
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    struct statx sx {};
    ASSERT_EQ(statx(AT_FDCWD, file.c_str(), 0, STATX_BTIME, &sx), 0);
    const timespec birth{sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec};
    EXPECT_EQ(Ticks(data.ftCreationTime), (sx.stx_mask & STATX_BTIME) ? TicksOf(birth) : 0u);
}

TEST(FileAttributes, AMissingFileOrAnUnknownLevelIsAFailure) {
    test::TempDir dir;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    EXPECT_FALSE(GetFileAttributesExA(dir.Path("none").c_str(), GetFileExInfoStandard, &data));
    EXPECT_FALSE(GetFileAttributesExA(dir.path().c_str(), GetFileExMaxInfoLevel, &data));
    EXPECT_FALSE(GetFileAttributesExA(nullptr, GetFileExInfoStandard, &data));
    EXPECT_FALSE(GetFileAttributesExA(dir.path().c_str(), GetFileExInfoStandard, nullptr));
}

TEST(ChangeNotification, RefusesWhatItCannotWatch) {
    test::TempDir dir;
    test::WriteFile(dir.Path("plain"), "");
    constexpr DWORD kAll = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;
    EXPECT_EQ(FindFirstChangeNotificationA(dir.Path("none").c_str(), FALSE, kAll),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstChangeNotificationA(dir.Path("plain").c_str(), FALSE, kAll),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstChangeNotificationA(dir.path().c_str(), TRUE, kAll), INVALID_HANDLE_VALUE);
    EXPECT_EQ(FindFirstChangeNotificationA(dir.path().c_str(), FALSE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 0), WAIT_FAILED);
    EXPECT_FALSE(FindNextChangeNotification(INVALID_HANDLE_VALUE));
}

// Each change, and whether a handle with each filter is signalled by it.
TEST(ChangeNotification, EachFilterIsSignalledByItsChangesOnly) {
    struct Case {
        const char* change;
        void (*make)(const test::TempDir& dir);
        bool byFileName, byLastWrite, byDirName;
    };
    const Case cases[] = {
        {"a file created", [](const test::TempDir& d) { test::WriteFile(d.Path("new.psh"), "x"); },
         true, true, false},
        {"a file written in place",
         [](const test::TempDir& d) { test::WriteFile(d.Path("old.psh"), "changed"); }, false, true,
         false},
        {"a file renamed over another",
         [](const test::TempDir& d) {
             std::rename(d.Path("spare.psh").c_str(), d.Path("old.psh").c_str());
         },
         true, false, false},
        {"a file deleted", [](const test::TempDir& d) { unlink(d.Path("old.psh").c_str()); }, true,
         false, false},
        {"a file's time set by hand",
         [](const test::TempDir& d) {
             const timespec times[2] = {{0, UTIME_NOW}, {12345, 0}};
             utimensat(AT_FDCWD, d.Path("old.psh").c_str(), times, 0);
         },
         false, true, false},
        {"a folder made", [](const test::TempDir& d) { mkdir(d.Path("sub").c_str(), 0755); }, false,
         false, true},
        {"a file read", [](const test::TempDir& d) { (void)test::ReadFile(d.Path("old.psh")); },
         false, false, false},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteFile(dir.Path("old.psh"), "old");
        test::WriteFile(dir.Path("spare.psh"), "spare");
        const HANDLE byName =
            FindFirstChangeNotificationA(dir.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
        const HANDLE byWrite =
            FindFirstChangeNotificationA(dir.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
        const HANDLE byDir =
            FindFirstChangeNotificationA(dir.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_DIR_NAME);
        ASSERT_NE(byName, INVALID_HANDLE_VALUE);
        ASSERT_NE(byWrite, INVALID_HANDLE_VALUE);
        ASSERT_NE(byDir, INVALID_HANDLE_VALUE);
        for (HANDLE h : {byName, byWrite, byDir})
            EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);
        c.make(dir);
        const auto signalled = [](HANDLE h) { return WaitForSingleObject(h, 0) == WAIT_OBJECT_0; };
        EXPECT_EQ(signalled(byName), c.byFileName) << c.change;
        EXPECT_EQ(signalled(byWrite), c.byLastWrite) << c.change;
        EXPECT_EQ(signalled(byDir), c.byDirName) << c.change;
        for (HANDLE h : {byName, byWrite, byDir}) EXPECT_TRUE(FindCloseChangeNotification(h));
    }
}

TEST(ChangeNotification, StaysSignalledUntilAskedAgainAndKeepsALaterChange) {
    test::TempDir dir;
    const HANDLE h =
        FindFirstChangeNotificationA(dir.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    test::WriteFile(dir.Path("a.psh"), "1");
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(FindNextChangeNotification(h));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_TIMEOUT);

    // Made while the handle is signalled, a change signals it again once it is asked again.
    test::WriteFile(dir.Path("a.psh"), "2");
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    test::WriteFile(dir.Path("a.psh"), "3");
    EXPECT_TRUE(FindNextChangeNotification(h));
    EXPECT_EQ(WaitForSingleObject(h, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(FindCloseChangeNotification(h));
}

TEST(ChangeNotification, ATimedWaitEndsAtTheChangeOrAtItsTime) {
    using namespace std::chrono;
    test::TempDir dir;
    const HANDLE h =
        FindFirstChangeNotificationA(dir.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    auto start = steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(h, 80), WAIT_TIMEOUT);
    EXPECT_GE(steady_clock::now() - start, milliseconds(80));

    // A change the filter does not name (a new folder) does not end the wait early.
    std::thread writer([&] {
        std::this_thread::sleep_for(milliseconds(20));
        mkdir(dir.Path("sub").c_str(), 0755);
        std::this_thread::sleep_for(milliseconds(40));
        test::WriteFile(dir.Path("a.psh"), "1");
    });
    start = steady_clock::now();
    EXPECT_EQ(WaitForSingleObject(h, 10000), WAIT_OBJECT_0);
    const auto waited = steady_clock::now() - start;
    writer.join();
    EXPECT_GE(waited, milliseconds(55));
    EXPECT_LT(waited, seconds(5));
    EXPECT_TRUE(FindCloseChangeNotification(h));
}

}  // namespace
