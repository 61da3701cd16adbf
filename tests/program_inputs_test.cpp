// The program's input files replaced by named pipes: start-up must not wait on them. Each run is
// bounded, so that a regression fails instead of hanging the suite.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/d3dx/isolated_process.h"
#include "platform/record/program_run.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"

namespace {

// Readers left blocked on the pipes (by code that is not fixed) are let go, one pipe after the
// other as they reach them: a writer that opens and closes a pipe gives its reader end-of-file.
void ReleaseFifos(const std::vector<std::string>& paths) {
    for (int round = 0; round < 100; ++round) {
        for (const std::string& path : paths) {
            const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) close(fd);
        }
        usleep(10000);
    }
}

TEST(FifoInPlaceOfInputs, TheProgramStartsAndReportsTheFilesItCouldNotUse) {
    test::TempDir dir;
    test::WriteTestAssets(dir.path());
    for (const char* name : {"pixel.psh", "tiger.bmp"}) {
        ASSERT_EQ(unlink(dir.Path(name).c_str()), 0);
        ASSERT_EQ(mkfifo(dir.Path(name).c_str(), 0644), 0) << std::strerror(errno);
    }
    const d3dx::IsolatedResult run = d3dx::RunIsolated(
        [&] {
            record::Script script;
            script.Close(2);
            script.workDir = dir.path();
            const record::ProgramRun program = record::RunProgram(script);
            std::string boxes;
            for (const record::Call& c : program.calls) {
                if (c.api == "MessageBoxA") boxes += c.args[1] + ";";
            }
            return std::to_string(program.status == record::RunStatus::Returned) + " " + boxes;
        },
        30000);
    if (!run.ok) ReleaseFifos({dir.Path("pixel.psh"), dir.Path("tiger.bmp")});
    ASSERT_TRUE(run.ok) << run.failure;
    EXPECT_EQ(run.output,
              "1 \"bad PS code or the file doesn't exist!\";\"Could not find texture map!\";");
}

}  // namespace
