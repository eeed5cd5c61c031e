#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/CliFixture.h"
#include "historywriter/HistoryWriter.h"
#include "support/SqliteShell.h"
#include "support/TempFolder.h"
#include "support/TestHistory.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr std::int32_t kSunday = 952247223;  // 2000-03-05 09:07:03 UTC

WriterRecord Message(std::int32_t uin, const std::string& text) {
    WriterRecord record;
    record.uin = uin;
    record.text = text;
    record.stamp = kSunday;
    return record;
}

// talvora-cli follow as a child process with its output on a pipe.
class FollowProcess {
public:
    // Standard error goes to `errPath` when one is given.
    FollowProcess(const HistoryPaths& paths, const std::string& key,
                  const std::vector<std::string>& options = {},
                  const std::string& errPath = std::string()) {
        int fds[2];
        if (::pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        if (!errPath.empty()) {
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        }
        std::vector<std::string> args = {TALVORA_CLI, "--data", paths.data, "--index",
                                         paths.index, "follow", key};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, TALVORA_CLI, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
        index_ = std::filesystem::canonical(paths.index).string();
    }
    ~FollowProcess() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) {
            ::close(out_);
        }
    }
    FollowProcess(const FollowProcess&) = delete;
    FollowProcess& operator=(const FollowProcess&) = delete;

    bool Started() const { return pid_ > 0; }

    // Waits until the process has the index open and its first pass is surely done.
    bool WaitReady() {
        const auto deadline = Clock::now() + 10s;
        while (Clock::now() < deadline) {
            std::error_code ignored;
            for (const auto& fd : std::filesystem::directory_iterator(
                     "/proc/" + std::to_string(pid_) + "/fd", ignored)) {
                if (std::filesystem::read_symlink(fd.path(), ignored).string() == index_) {
                    std::this_thread::sleep_for(300ms);
                    return true;
                }
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    // Reads output until it holds `lines` line ends or `wait` has passed.
    std::string ReadLines(std::size_t lines, std::chrono::milliseconds wait) {
        const auto deadline = Clock::now() + wait;
        while (static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n')) < lines) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) {
                break;
            }
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            char buffer[4096];
            const ssize_t got = ::read(out_, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            text_.append(buffer, static_cast<std::size_t>(got));
        }
        return text_;
    }

    // Sends `signal` and returns the exit status (-1 when it did not exit normally in time).
    int Stop(int signal) {
        ::kill(pid_, signal);
        const auto deadline = Clock::now() + 5s;
        while (Clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::string index_;
    std::string text_;
};

class Follow : public CliFixture {
protected:
    void SetUp() override {
        writer_ = std::make_unique<HistoryWriter>(NewHistory());
        writer_->AppendEvent(5, Message(5, "old"));
    }

    std::unique_ptr<HistoryWriter> writer_;
};

TEST_F(Follow, PrintsNewEventsOfTheMemberOnceEachAndEndsOnSigterm) {
    // The messenger is between its two writes of an entry when the tool starts.
    const std::int32_t pending = writer_->AppendRecord(Message(5, "pending"));
    ASSERT_TRUE(writer_->AppendEntryKey(5));

    FollowProcess follow(paths_, "5");
    ASSERT_TRUE(follow.Started());
    ASSERT_TRUE(follow.WaitReady());
    EXPECT_EQ(follow.ReadLines(1, 400ms), "") << "neither old nor half-written events";

    ASSERT_TRUE(writer_->CompleteEntryOffset(pending));
    std::string out = follow.ReadLines(1, 2s);
    EXPECT_EQ(out, "メッセージ\t2000/03/05 日\t09:07:03\t5\tpending\t5\n");

    writer_->AppendEvent(6, Message(6, "other member"));
    writer_->AppendEvent(5, Message(5, "first"));
    writer_->AppendEvent(5, Message(5, "second"));
    out = follow.ReadLines(3, 2s);
    EXPECT_NE(out.find("\tfirst\t5\n"), std::string::npos);
    EXPECT_LT(out.find("\tfirst\t"), out.find("\tsecond\t")) << "oldest first";
    EXPECT_EQ(out.find("other member"), std::string::npos);

    EXPECT_EQ(follow.Stop(SIGTERM), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
}

TEST_F(Follow, AllMembersAndSigint) {
    FollowProcess follow(paths_, "-2");
    ASSERT_TRUE(follow.Started());
    ASSERT_TRUE(follow.WaitReady());
    writer_->AppendEvent(6, Message(6, "six"));
    writer_->AppendEvent(7, Message(7, "seven"));
    const std::string out = follow.ReadLines(2, 2s);
    EXPECT_NE(out.find("\tsix\t6\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tseven\t7\n"), std::string::npos) << out;
    EXPECT_EQ(follow.Stop(SIGINT), 0);
}

TEST_F(Follow, JsonLinesAreTheLinesOfTheExport) {
    FollowProcess follow(paths_, "-2", {"--format", "jsonl"});
    ASSERT_TRUE(follow.Started());
    ASSERT_TRUE(follow.WaitReady());
    writer_->AppendEvent(6, Message(6, "six \"quoted\""));
    WriterRecord broken = Message(7, "");
    broken.marker = 0;
    writer_->AppendEvent(7, broken);
    // A broken newest entry looks unfinished: it is printed once its wait is up.
    EXPECT_EQ(follow.ReadLines(2, 5s),
              "{\"entry\":1,\"decoded\":true,\"time\":\"2000-03-05T09:07:03+00:00\",\"direction\":"
              "\"受信\",\"type\":1,\"typeName\":\"メッセージ\",\"uin\":6,\"name\":\"6\","
              "\"text\":\"six \\\"quoted\\\"\"}\n"
              "{\"entry\":2,\"decoded\":false,\"type\":0,\"typeName\":\"エラー\",\"error\":"
              "\"このイベントはデータが壊れていて読み出せません\"}\n");
    EXPECT_EQ(follow.Stop(SIGTERM), 0);
}

// Rewritten in place with more of the same, replaced by another history, shrunk, gone and
// back: a replacement is reloaded and said so; every appended event is printed once.
TEST_F(Follow, ReloadsWhateverHappensToTheFilesAndPrintsEachEventOnce) {
    const std::string errPath = folder_.File("stderr.txt");
    FollowProcess follow(paths_, "5", {}, errPath);
    ASSERT_TRUE(follow.Started());
    ASSERT_TRUE(follow.WaitReady());
    auto overwriteWith = [this](const std::vector<std::string>& texts) {
        TempFolder other;
        const HistoryPaths copy = HistoryPathsFor(other.Path(), 777);
        HistoryWriter writer = CreateHistoryWriter(copy);
        for (const std::string& text : texts) {
            writer.AppendEvent(5, Message(5, text));
        }
        ASSERT_TRUE(OverwriteFileBytes(paths_.data, ReadFileBytes(copy.data)));
        ASSERT_TRUE(OverwriteFileBytes(paths_.index, ReadFileBytes(copy.index)));
    };
    auto append = [this](const std::string& text) {
        auto writer = HistoryWriter::OpenAppend(paths_.data, paths_.index);
        ASSERT_TRUE(writer);
        writer->AppendEvent(5, Message(5, text));
    };
    auto reloads = [&errPath] {
        const std::string err = ReadFileBytes(errPath);
        std::size_t count = 0;
        for (std::size_t at = err.find("reloaded"); at != std::string::npos;
             at = err.find("reloaded", at + 1)) {
            ++count;
        }
        return count;
    };

    // The same history, one event longer: what was read still stands, so this is an append.
    overwriteWith({"old", "restored"});
    EXPECT_NE(follow.ReadLines(1, 2s).find("\trestored\t"), std::string::npos);
    EXPECT_EQ(reloads(), 0u);

    overwriteWith({"another history", "of two events"});
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(reloads(), 1u);
    append("after the swap");
    EXPECT_NE(follow.ReadLines(2, 2s).find("\tafter the swap\t"), std::string::npos);

    ASSERT_EQ(::truncate(paths_.index.c_str(), IndexEntryPosition(1)), 0);
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(reloads(), 2u);
    append("after the cut");
    EXPECT_NE(follow.ReadLines(3, 2s).find("\tafter the cut\t"), std::string::npos);

    const std::string away = folder_.File("away");
    ASSERT_EQ(std::rename(paths_.index.c_str(), away.c_str()), 0);
    std::this_thread::sleep_for(500ms);
    EXPECT_NE(ReadFileBytes(errPath).find("gone"), std::string::npos);
    ASSERT_EQ(std::rename(away.c_str(), paths_.index.c_str()), 0);
    append("back again");
    const std::string out = follow.ReadLines(4, 2s);
    EXPECT_NE(out.find("\tback again\t"), std::string::npos);
    EXPECT_EQ(follow.Stop(SIGTERM), 0);
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 4) << out;
    EXPECT_EQ(reloads(), 3u);
}

}  // namespace

namespace {

// The events added as the follow command's lines "N events added to FILE" count them.
int AddedIn(const std::string& out) {
    int added = 0;
    for (std::size_t line = 0; line < out.size(); line = out.find('\n', line) + 1) {
        added += std::atoi(out.c_str() + line);
        if (out.find('\n', line) == std::string::npos) {
            break;
        }
    }
    return added;
}

TEST_F(Follow, KeepsAnArchiveCurrentAndStopsWhenTheHistoryIsRewritten) {
    const std::string archive = folder_.File("log.sqlite");
    {
        FollowProcess follow(paths_, "5", {"--format", "sqlite", "-o", archive});
        ASSERT_TRUE(follow.Started());
        ASSERT_TRUE(follow.WaitReady());
        writer_->AppendEvent(5, Message(5, "first"));
        writer_->AppendEvent(6, Message(6, "other member"));
        writer_->AppendEvent(5, Message(5, "second"));
        std::string out;
        for (auto deadline = Clock::now() + 5s; AddedIn(out) < 3 && Clock::now() < deadline;) {
            out = follow.ReadLines(
                static_cast<std::size_t>(std::count(out.begin(), out.end(), '\n')) + 1, 500ms);
        }
        EXPECT_EQ(AddedIn(out), 3) << out;
        // Another history under the same names: the archive is not added to, the command ends.
        writer_ = std::make_unique<HistoryWriter>(NewHistory());
        writer_->AppendEvent(5, Message(5, "rewritten"));
        writer_->AppendEvent(5, Message(5, "rewritten too"));
        EXPECT_EQ(follow.Stop(0), 1);
    }
    EXPECT_EQ(SqliteShell(archive, "SELECT group_concat(text, ',') FROM events"),
              "old,first,second\n");
    // --rebuild starts from the history as it is now.
    FollowProcess rebuilt(paths_, "5", {"--format", "sqlite", "-o", archive, "--rebuild"});
    EXPECT_EQ(rebuilt.ReadLines(1, 5s), "2 events added to " + archive + "\n");
    EXPECT_EQ(rebuilt.Stop(SIGTERM), 0);
    EXPECT_EQ(SqliteShell(archive, "SELECT group_concat(text, ',') FROM events"),
              "rewritten,rewritten too\n");
}

}  // namespace
