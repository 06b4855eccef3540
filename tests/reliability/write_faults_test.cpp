// Write faults, each produced for real and run through the real zovrel-batch: after every one
// the exit status says so, stderr names the cause in one line, the exchange file is
// byte-identical and no temporary file is left beside it.
//
// The tests run as root, whom permission bits do not stop. The faults that rest on them (a
// read-only directory, a rename the directory refuses) are produced in a child that has
// dropped to the user nobody; a full disk is a file-size limit (RLIMIT_FSIZE), which binds
// root too, and a full device for standard output.

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_files.h"

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;
constexpr int kPrepareFailed = 125;  // the child could not set up its fault

struct BatchRun {
    int exitCode = -1;
    std::string err;
};

// Runs zovrel-batch with args. prepare runs in the child before exec and returns false when
// the fault cannot be set up; standard output goes to stdoutPath.
BatchRun runBatch(const std::vector<std::string>& args, const std::function<bool()>& prepare = {},
                  const char* stdoutPath = "/dev/null") {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        const int out = open(stdoutPath, O_WRONLY);
        if (out < 0) _exit(kPrepareFailed);
        dup2(out, STDOUT_FILENO);
        close(out);
        if (prepare && !prepare()) _exit(kPrepareFailed);
        std::vector<char*> argv;
        std::string program = ZOVREL_BATCH;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& a : copies) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    BatchRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.err.append(buffer, static_cast<std::size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

bool dropToNobody() {
    return setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

bool isRoot() {
    return geteuid() == 0;
}

// A directory holding the host's file, as the host leaves it.
struct Exchange {
    TempDir root;
    std::string dir = root.path("exchange");
    std::string file = dir + "/JWC_TEMP.TXT";
    std::string original = readBytes(ZOVREL_SAMPLE);

    Exchange() {
        fs::create_directory(dir);
        writeBytes(file, original);
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        return names;
    }
};

// The outcome every failed write must have.
void expectNothingWritten(const Exchange& x, const BatchRun& run, const std::string& cause) {
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line on stderr: " << run.err;
    EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
    EXPECT_EQ(readBytes(x.file), x.original);
    EXPECT_EQ(x.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

const std::vector<std::string> kTwentyCopies = {"--move-x", "200", "--copies", "20"};

std::vector<std::string> argsFor(const std::string& file,
                                 std::vector<std::string> args = kTwentyCopies) {
    args.push_back(file);
    return args;
}

}  // namespace

// The control: without a fault the same run writes, so each fault below is what stops it.
TEST(WriteFault, WithoutAFaultTheSameRunWrites) {
    Exchange x;
    const BatchRun run = runBatch(argsFor(x.file));
    EXPECT_EQ(run.exitCode, 0);
    // Nothing but what the copies leave out: the sample's text, without --keep-attributes.
    EXPECT_EQ(run.err, "zovrel-batch: not copied: ch 1 (--keep-attributes copies it)\n");
    EXPECT_NE(readBytes(x.file), x.original);
    EXPECT_GT(readBytes(x.file).size(), 4096u);  // more than the file-size limit used below
    EXPECT_EQ(x.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}

TEST(WriteFault, ReadOnlyExchangeFile) {
    Exchange x;
    setReadOnly(x.file, true);  // the owner's write bit, which the tool honours even for root
    expectNothingWritten(x, runBatch(argsFor(x.file)), "the file is read-only");
}

TEST(WriteFault, ReadOnlyDirectory) {
    Exchange x;
    fs::permissions(x.dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                               fs::perms::group_exec | fs::perms::others_read |
                               fs::perms::others_exec);
    std::function<bool()> prepare;
    if (isRoot()) {
        // Root may create files in any directory: the host's user may not.
        ASSERT_EQ(chown(x.dir.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(chown(x.file.c_str(), kNobody, kNobody), 0);
        prepare = dropToNobody;
    }
    const BatchRun run = runBatch(argsFor(x.file), prepare);
    if (run.exitCode == kPrepareFailed)
        GTEST_SKIP() << "running as root and cannot switch to the user nobody";
    expectNothingWritten(x, run, "cannot create a temporary file");
}

TEST(WriteFault, DiskFullWhileWriting) {
    Exchange x;
    // Writes beyond 4 KiB fail with EFBIG, as on a full disk; ignoring SIGXFSZ (kept across
    // exec) turns the signal into that error.
    const BatchRun run = runBatch(argsFor(x.file), [] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        return setrlimit(RLIMIT_FSIZE, &limit) == 0;
    });
    ASSERT_NE(run.exitCode, kPrepareFailed);
    expectNothingWritten(x, run, "writing failed");
}

TEST(WriteFault, DiskFullOnStandardOutput) {
    Exchange x;
    std::vector<std::string> args = kTwentyCopies;
    args.insert(args.end(), {"-o", "-", x.file});
    const BatchRun run = runBatch(args, {}, "/dev/full");  // every write fails with ENOSPC
    ASSERT_NE(run.exitCode, kPrepareFailed);
    expectNothingWritten(x, run, "nothing written to standard output: writing failed");
}

TEST(WriteFault, DirectoryRefusesTheReplace) {
    if (!isRoot()) GTEST_SKIP() << "needs a file of another user: run as root";
    Exchange x;
    // A sticky, world-writable directory lets anyone create files in it, but only the owner
    // may replace root's file there: the temporary file is written, the rename is refused.
    fs::permissions(x.dir, fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(x.file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::group_write | fs::perms::others_read |
                                fs::perms::others_write);
    const BatchRun run = runBatch(argsFor(x.file), dropToNobody);
    if (run.exitCode == kPrepareFailed)
        GTEST_SKIP() << "running as root and cannot switch to the user nobody";
    expectNothingWritten(x, run, "could not replace the old one");
}

TEST(WriteFault, NumberThatCannotBeWritten) {
    Exchange x;
    expectNothingWritten(x, runBatch(argsFor(x.file, {"--scale-x", "1e200", "--copies", "3"})),
                         "not finite");
}

TEST(WriteFault, OutputPathIsADirectory) {
    Exchange x;
    const std::string target = x.root.path("elsewhere");
    fs::create_directory(target);
    std::vector<std::string> args = kTwentyCopies;
    args.insert(args.end(), {"-o", target, x.file});
    expectNothingWritten(x, runBatch(args), "not a regular file");
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_TRUE(fs::is_empty(target));
}

// Not a write fault but its neighbour: with a directory in the file's place there is nothing
// to read, so the tool stops before writing with exit status 1.
TEST(WriteFault, ExchangeFileReplacedByADirectory) {
    Exchange x;
    fs::remove(x.file);
    fs::create_directory(x.file);
    const BatchRun run = runBatch(argsFor(x.file));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "zovrel-batch: cannot open " + x.file + "\n");
    EXPECT_TRUE(fs::is_directory(x.file));
    EXPECT_TRUE(fs::is_empty(x.file));
    EXPECT_EQ(x.entries(), std::vector<std::string>{"JWC_TEMP.TXT"});
}
