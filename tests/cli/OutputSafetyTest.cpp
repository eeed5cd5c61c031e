// The real talvora-cli as a shell runs it: redirections, pipes, full disks, signals.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliFixture.h"
#include "support/ShellRun.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

class OutputSafety : public CliFixture {
protected:
    void SetUp() override {
        HistoryWriter writer = NewHistory();
        for (int i = 0; i < 3; ++i) {
            WriterRecord record;
            record.uin = 5;
            record.text = "text " + std::to_string(i);
            record.stamp = 952247223 + i;
            writer.AppendEvent(5, record);
        }
    }
    // The tool on the fixture's pair, as a shell command line.
    std::string Cli(const std::string& tail) const {
        return ShellQuote(TALVORA_CLI) + " --data " + ShellQuote(paths_.data) + " --index " +
               ShellQuote(paths_.index) + " " + tail;
    }
    ShellResult Run(const std::string& command) { return RunShell(command, folder_.Path()); }
};

TEST_F(OutputSafety, AFailedWriteIsOneMessageAndStatusOne) {
    for (const char* command :
         {"list -2", "members", "stats 5", "grep text", "search 5 --text text", "--help",
          "export 5 -o -", "export 5 -o /dev/stdout"}) {
        const ShellResult r = Run(Cli(command) + " >/dev/full");
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err.rfind("talvora-cli: cannot write ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
        EXPECT_NE(r.err.find(": No space left on device"), std::string::npos) << r.err;
    }
}

TEST_F(OutputSafety, AReaderThatLeftEndsTheCommandQuietly) {
    // Enough lines that the pipe is closed while the tool still writes.
    HistoryWriter writer = *HistoryWriter::OpenAppend(paths_.data, paths_.index);
    WriterRecord record;
    record.uin = 5;
    record.text = std::string(200, 'x');
    for (int i = 0; i < 5000; ++i) {
        writer.AppendEvent(5, record);
    }
    for (const char* command : {"list -2", "export 5 -o -", "export 5 -o /dev/stdout"}) {
        const ShellResult r = Run("{ " + Cli(command) + "; echo \"status $?\" >&2; } | head -c 1");
        EXPECT_EQ(r.err, "status 0\n") << command;
        EXPECT_EQ(r.out.size(), 1u);
    }
}

TEST_F(OutputSafety, StandardOutputIsAppendedToNotReplaced) {
    const std::string log = folder_.File("log");
    const ShellResult r = Run("printf 'HEADER\\n' >" + ShellQuote(log) + "; " +
                              Cli("export 5 --encoding utf-8 -o /dev/stdout >>" + ShellQuote(log)));
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string bytes = ReadFileBytes(log);
    EXPECT_EQ(bytes.rfind("HEADER\n", 0), 0u);
    EXPECT_NE(bytes.find("text 2"), std::string::npos);
}

TEST_F(OutputSafety, ExportOverTheHistoryIsRefused) {
    const std::string before = ReadFileBytes(paths_.data);
    const ShellResult r = Run(Cli("export -2 -o " + ShellQuote(paths_.data)));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("refusing to write"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFileBytes(paths_.data), before);
}

TEST_F(OutputSafety, UnknownMembersAndMissingFilesAreSaid) {
    for (const char* command :
         {"list 99999", "export 99999 -o x.txt", "stats 99999", "grep text 99999"}) {
        const ShellResult r = Run(Cli(command));
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err,
                  "talvora-cli: no member 99999 in this history ('talvora-cli members' lists "
                  "them)\n")
            << command;
    }
    ShellResult r = Run(Cli("--settings /nowhere/t.ini members"));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("/nowhere/t.ini does not exist"), std::string::npos) << r.err;
    r = Run(ShellQuote(TALVORA_CLI) + " --settings /nowhere/t.ini members");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/nowhere/t.ini does not exist"), std::string::npos) << r.err;

    const std::string home = folder_.File("home");
    r = Run("HOME=" + ShellQuote(home) + " WINEPREFIX= " + ShellQuote(TALVORA_CLI) + " detect");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(home + "/.wine/user.reg"), std::string::npos) << r.err;
}

// A quit signal in the middle of an export leaves no temporary file beside the target.
TEST_F(OutputSafety, SignalDuringExportRemovesTheTemporaryFile) {
    const std::string big = folder_.File("big");
    ASSERT_EQ(Run(ShellQuote(TALVORA_MAKEDB) + " --folder " + ShellQuote(folder_.Path()) +
                  " --uin 7 --events 300000 --members 5")
                  .status,
              0);
    const std::string target = folder_.File("out.html");
    bool caught = false;
    for (int attempt = 0; attempt < 5 && !caught; ++attempt) {
        std::vector<std::string> args = {TALVORA_CLI, "--folder", folder_.Path(), "--uin",
                                         "7",         "export",   "-2",           "--format",
                                         "html",      "-o",       target};
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, TALVORA_CLI, nullptr, nullptr, argv.data(), environ), 0);
        int status = 0;
        while (!caught && ::waitpid(pid, &status, WNOHANG) == 0) {
            for (const auto& entry : fs::directory_iterator(folder_.Path())) {
                if (entry.path().extension() == ".tmp") {
                    caught = true;
                }
            }
        }
        if (caught) {
            ::kill(pid, SIGTERM);
            ASSERT_EQ(::waitpid(pid, &status, 0), pid);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
        }
        fs::remove(target);
    }
    ASSERT_TRUE(caught) << "the export never showed its temporary file";
    for (const auto& entry : fs::directory_iterator(folder_.Path())) {
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
    }
}

}  // namespace
