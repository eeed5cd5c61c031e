#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "export/ReplacingFile.h"
#include "export/TemporaryFiles.h"
#include "support/TempFolder.h"

namespace {

namespace fs = std::filesystem;

std::string Write(const std::string& path, const std::string& bytes) {
    ReplacingFile file;
    std::string error;
    if (file.Open(path, error) && file.Write(bytes, error) && file.Commit(error)) {
        return "";
    }
    return error.empty() ? "failed without a reason" : error;
}

void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode;
}

std::size_t EntriesIn(const std::string& folder) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
        ++n;
    }
    return n;
}

class ReplacingFileTest : public ::testing::Test {
protected:
    TempFolder folder_;
    std::string File(const std::string& name) { return folder_.File(name); }
};

TEST_F(ReplacingFileTest, ExistingFileKeepsItsMode) {
    const std::string file = File("private.txt");
    Put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(Write(file, "new"), "");
    EXPECT_EQ(ModeOf(file) & 07777, 0600u);
    EXPECT_EQ(ReadFileBytes(file), "new");

    ASSERT_EQ(::chmod(file.c_str(), 0751), 0);
    EXPECT_EQ(Write(file, "newer"), "");
    EXPECT_EQ(ModeOf(file) & 07777, 0751u);

    // A new file gets what the umask leaves of 0666.
    const mode_t mask = ::umask(022);
    EXPECT_EQ(Write(File("fresh.txt"), "x"), "");
    ::umask(mask);
    EXPECT_EQ(ModeOf(File("fresh.txt")) & 07777, 0644u);
}

TEST_F(ReplacingFileTest, SymbolicLinksAreFollowedAndTheirTargetReplaced) {
    ASSERT_TRUE(fs::create_directory(File("real")));
    const std::string target = File("real/target.txt");
    Put(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    // A relative link to a relative link, each resolved from its own folder.
    fs::create_symlink("real/target.txt", File("first"));
    fs::create_symlink("first", File("second"));
    EXPECT_EQ(Write(File("second"), "new"), "");
    EXPECT_TRUE(fs::is_symlink(File("second")));
    EXPECT_TRUE(fs::is_symlink(File("first")));
    EXPECT_EQ(ReadFileBytes(target), "new");
    EXPECT_EQ(ModeOf(target) & 07777, 0640u);
    EXPECT_EQ(EntriesIn(File("real")), 1u) << "no temporary file left behind";

    // A link to nothing yet: the file it names is made.
    fs::create_symlink(File("real/later.txt"), File("dangling"));
    EXPECT_EQ(Write(File("dangling"), "made"), "");
    EXPECT_TRUE(fs::is_symlink(File("dangling")));
    EXPECT_EQ(ReadFileBytes(File("real/later.txt")), "made");

    fs::create_symlink("loop", File("loop"));
    EXPECT_NE(Write(File("loop"), "x").find("symbolic links"), std::string::npos);
}

TEST_F(ReplacingFileTest, FifosAndDevicesAreWrittenDirectly) {
    const std::string fifo = File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFileBytes(fifo); });
    EXPECT_EQ(Write(fifo, "through the pipe"), "");
    reader.join();
    EXPECT_EQ(received, "through the pipe");
    EXPECT_TRUE(S_ISFIFO(ModeOf(fifo)));

    // Character devices stay what they are. As root the nodes are our own, so that nothing
    // of the system's is at stake should this ever break; others cannot replace /dev's.
    std::string null = "/dev/null";
    std::string full = "/dev/full";
    if (::geteuid() == 0) {
        null = File("null");
        full = File("full");
        ASSERT_EQ(::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    }
    EXPECT_EQ(Write(null, "gone"), "");
    EXPECT_TRUE(S_ISCHR(ModeOf(null)));
    // A device that refuses the bytes is reported.
    EXPECT_NE(Write(full, "x").find("No space left"), std::string::npos);
    EXPECT_TRUE(S_ISCHR(ModeOf(full)));
    EXPECT_NE(Write(folder_.Path(), "x").find("Is a directory"), std::string::npos);
}

TEST_F(ReplacingFileTest, UncommittedWriteLeavesTheTargetUntouched) {
    const std::string file = File("kept.txt");
    Put(file, "old");
    {
        ReplacingFile replacing;
        std::string error;
        ASSERT_TRUE(replacing.Open(file, error)) << error;
        ASSERT_TRUE(replacing.Write("half", error)) << error;
    }
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(ReplacingFileTest, OpenDescriptorsAreWrittenAtTheirPositionNeverReplaced) {
    // As a shell's `>> log` leaves it: open for appending, the header already there.
    const std::string log = File("log");
    Put(log, "HEADER\n");
    const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    struct stat before {};
    ASSERT_EQ(::fstat(fd, &before), 0);
    for (const std::string& path :
         {"/dev/fd/" + std::to_string(fd), "/proc/self/fd/" + std::to_string(fd), log}) {
        EXPECT_EQ(Write(path, "line\n"), "") << path;
    }
    ::close(fd);
    EXPECT_EQ(ReadFileBytes(log), "HEADER\nline\nline\nline\n");
    struct stat after {};
    ASSERT_EQ(::stat(log.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "written in place, not renamed over";
    EXPECT_EQ(EntriesIn(folder_.Path()), 1u);
}

TEST_F(ReplacingFileTest, HardLinksKeepSharingTheNewBytes) {
    const std::string file = File("a.txt");
    Put(file, "old");
    fs::create_hard_link(file, File("b.txt"));
    EXPECT_EQ(Write(file, "new bytes"), "");
    EXPECT_EQ(ReadFileBytes(File("b.txt")), "new bytes");
    EXPECT_EQ(fs::hard_link_count(file), 2u);
    EXPECT_EQ(EntriesIn(folder_.Path()), 2u);
}

// Runs `check` as an ordinary user (nobody, when the tests run as root) in a child process.
void AsOrdinaryUser(const std::function<bool()>& check) {
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                std::_Exit(2);
            }
            std::_Exit(check() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(ReplacingFileTest, ReadOnlyFileIsRefusedAsCpWould) {
    // Under /tmp, so that the other user reaches it whatever the test folder's parents allow.
    char folder[] = "/tmp/talvora-read-only-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    ASSERT_EQ(::chmod(folder, 0777), 0);
    const std::string file = std::string(folder) + "/kept.txt";
    Put(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    AsOrdinaryUser([&] {
        ReplacingFile replacing;
        std::string error;
        return !replacing.Open(file, error) &&
               replacing.failure().kind == OutputFailure::Kind::NotWritable;
    });
    EXPECT_EQ(ReadFileBytes(file), "old");
    EXPECT_EQ(EntriesIn(folder), 1u);
    fs::remove_all(folder);
}

TEST_F(ReplacingFileTest, InterruptedWriteRemovesItsTemporaryFile) {
    const std::string file = File("kept.txt");
    Put(file, "old");
    // In a child: the interruption lasts for the rest of the process.
    EXPECT_EXIT(
        {
            ReplacingFile replacing;
            std::string error;
            const bool opened = replacing.Open(file, error) && replacing.Write("half", error);
            InterruptWrites();
            const bool stopped = !replacing.Write("rest", error) &&
                                 replacing.failure().kind == OutputFailure::Kind::Interrupted;
            std::_Exit(opened && stopped && EntriesIn(folder_.Path()) == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFileBytes(file), "old");
}

}  // namespace
