// The real zovrel-batch killed (SIGKILL) at random moments while it writes a large result:
// every time the exchange file holds exactly the old bytes or exactly the complete new ones,
// and the next run removes what the killed one left. ZOVREL_CRASH_SEED replays a sequence.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench/workload.h"
#include "tests/test_files.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKills = 40;
// About 45 MB of copies: writing them takes a good part of a second.
constexpr long kEntities = 40000;

pid_t startBatch(const std::string& file) {
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execl(ZOVREL_BATCH, ZOVREL_BATCH, file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

int finish(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

unsigned seedFromEnvironment() {
    if (const char* text = std::getenv("ZOVREL_CRASH_SEED")) return std::strtoul(text, nullptr, 10);
    return static_cast<unsigned>(std::random_device{}());
}

TEST(CrashConsistency, KilledWriterLeavesOldOrCompleteNewBytes) {
    const unsigned seed = seedFromEnvironment();
    std::printf("crash consistency: seed %u (ZOVREL_CRASH_SEED=%u replays it)\n", seed, seed);
    std::mt19937 random(seed);

    TempDir reference;
    const std::string old = makeDrawing(kEntities);
    writeBytes(reference.path("JWC_TEMP.TXT"), old);
    const Clock::time_point start = Clock::now();
    ASSERT_EQ(finish(startBatch(reference.path("JWC_TEMP.TXT"))), 0);
    const double runSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    const std::string complete = readBytes(reference.path("JWC_TEMP.TXT"));
    ASSERT_GT(complete.size(), old.size());

    TempDir dir;
    const std::string path = dir.path("JWC_TEMP.TXT");
    writeBytes(path, old);
    int killedBefore = 0, killedWriting = 0, killedAfter = 0, finished = 0;
    std::uniform_real_distribution<double> moment(0.0, runSeconds);
    for (int i = 0; i < kKills; ++i) {
        const pid_t child = startBatch(path);
        std::this_thread::sleep_for(std::chrono::duration<double>(moment(random)));
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            ++finished;
        } else {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        const std::string now = readBytes(path);
        ASSERT_TRUE(now == old || now == complete)
            << "torn exchange file after kill " << i << ": " << now.size() << " bytes";
        // The killed run's temporary file at most: each run removes the one before it.
        const std::vector<std::string> entries = dir.entries();
        ASSERT_LE(entries.size(), 2u) << "kill " << i;
        if (WIFSIGNALED(status) && entries.size() == 2) ++killedWriting;
        if (now == complete) {
            if (!WIFEXITED(status)) ++killedAfter;
            writeBytes(path, old);
        } else {
            ++killedBefore;
        }
    }
    std::printf(
        "crash consistency: %d runs of %.2f s: %d killed before the replace (%d of them "
        "while writing), %d after it, %d finished\n",
        kKills, runSeconds, killedBefore, killedWriting, killedAfter, finished);
    EXPECT_GT(killedWriting, 0);

    ASSERT_EQ(finish(startBatch(path)), 0);
    EXPECT_EQ(readBytes(path), complete);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

}  // namespace
