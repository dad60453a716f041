// Where the atomic output puts its bytes when the target is not a plain
// file: links, pipes and devices; and what it leaves behind.
#include "files/atomicfileoutput.h"

#include "fifo.h"
#include "temp_dir.h"
#include "wx_printers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <utime.h>

#include <future>
#include <string>
#include <vector>

namespace
{
bool WriteWhole(const wxString& target, const std::string& bytes, int* error = nullptr)
{
    AtomicFileOutputStream out(target);
    out.Write(bytes.data(), bytes.size());
    const bool committed = out.Commit();
    if (error)
        *error = out.GetErrno();
    return committed;
}

mode_t TypeOf(const wxString& path)
{
    struct stat info;
    return lstat(path.fn_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

// Everything written into a pipe until its writer closes it.
std::string ReadPipe(const wxString& path)
{
    std::string bytes;
    const int fd = open(path.fn_str(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; fd >= 0 && (n = read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, size_t(n));
    if (fd >= 0)
        close(fd);
    return bytes;
}

std::string LinkText(const wxString& path)
{
    char text[4096];
    const ssize_t length = readlink(path.fn_str(), text, sizeof text);
    return length < 0 ? std::string() : std::string(text, size_t(length));
}
}  // namespace

// Writing through a symbolic link replaces the file it points to, atomically
// and beside that file; the link itself stays, even when it dangled.
TEST(AtomicFileOutput, ALinkStaysAndItsFileIsReplaced)
{
    TempDir dir;
    ASSERT_TRUE(wxFileName::Mkdir(dir.File("real")));
    dir.Write("real/anim.gif", "old");
    const struct
    {
        const char* link;
        std::string pointsTo;
        const char* file;  // what gets the bytes
    } cases[] = {
        {"relative.gif", "real/anim.gif", "real/anim.gif"},
        {"absolute.gif", dir.File("real/anim.gif").utf8_string(), "real/anim.gif"},
        {"chain.gif", "relative.gif", "real/anim.gif"},
        {"dangling.gif", "real/new.gif", "real/new.gif"},
    };
    for (const auto& c : cases)
    {
        ASSERT_EQ(symlink(c.pointsTo.c_str(), dir.File(c.link).fn_str()), 0) << c.link;
        const std::string bytes = std::string("written through ") + c.link;
        EXPECT_TRUE(WriteWhole(dir.File(c.link), bytes)) << c.link;
        EXPECT_EQ(TypeOf(dir.File(c.link)), mode_t(S_IFLNK)) << c.link;
        EXPECT_EQ(LinkText(dir.File(c.link)), c.pointsTo) << c.link;
        EXPECT_EQ(ReadFileBytes(dir.File(c.file)), bytes) << c.link;
    }
    EXPECT_EQ(FilesIn(dir.File("real")), (std::vector<wxString>{"anim.gif", "new.gif"}));
}

// A pipe or a device cannot be replaced atomically and must not be replaced
// at all: the bytes go straight into it. A pipe nobody reads fails at once.
TEST(AtomicFileOutput, PipesAndDevicesAreWrittenIntoNotReplaced)
{
    TempDir dir;
    const wxString pipePath = dir.File("out.gif");
    const Fifo pipe(pipePath);
    ASSERT_TRUE(pipe.IsOk());

    int error = 0;
    EXPECT_TRUE(pipe.FinishesPromptly([&] { EXPECT_FALSE(WriteWhole(pipePath, "x", &error)); }));
    EXPECT_EQ(error, ENXIO);

    std::future<std::string> reader =
        std::async(std::launch::async, [&] { return ReadPipe(pipePath); });
    // The writer may come before the reader has opened its end; then it tries again.
    const std::string bytes(200000, 'g');
    bool written = false;
    for (int attempt = 0; attempt < 500 && !written; ++attempt)
        if (!(written = WriteWhole(pipePath, bytes, &error)) && error == ENXIO)
            usleep(10000);
    EXPECT_TRUE(written) << error;
    if (!written)
        pipe.Release();
    EXPECT_EQ(reader.get(), written ? bytes : std::string());
    EXPECT_EQ(TypeOf(pipePath), mode_t(S_IFIFO));

    // As root, a device node of our own: the real /dev/null is not put at risk.
    wxString device = wxS("/dev/null");
    if (geteuid() == 0)
    {
        device = dir.File("null");
        ASSERT_EQ(mknod(device.fn_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    EXPECT_TRUE(WriteWhole(device, "into the void", &error)) << error;
    EXPECT_EQ(TypeOf(device), mode_t(S_IFCHR));
    const std::vector<wxString> left = geteuid() == 0 ? std::vector<wxString>{"null", "out.gif"}
                                                      : std::vector<wxString>{"out.gif"};
    EXPECT_EQ(FilesIn(dir.Path()), left);
}

// Temporary files of the same target that a killed process left more than
// a day ago go with the next write; nothing else does.
TEST(AtomicFileOutput, StaleTemporariesOfTheTargetAreRemoved)
{
    TempDir dir;
    const char* old[] = {".anim.gif.loopforge-AbC123", ".anim.gif.backup",
                         "anim.gif.loopforge-Zz9Zz9", ".other.gif.loopforge-AbC123",
                         ".anim.gif.loopforge-AbC1234"};
    for (const char* name : old)
    {
        dir.Write(name, "left over");
        const utimbuf twoDaysAgo = {time(nullptr) - 2 * 86400, time(nullptr) - 2 * 86400};
        ASSERT_EQ(utime(dir.File(name).fn_str(), &twoDaysAgo), 0) << name;
    }
    dir.Write(".anim.gif.loopforge-New456", "another process writing now");

    ASSERT_TRUE(WriteWhole(dir.File("anim.gif"), "GIF89a"));
    EXPECT_EQ(FilesIn(dir.Path()),
              (std::vector<wxString>{".anim.gif.backup", ".anim.gif.loopforge-AbC1234",
                                     ".anim.gif.loopforge-New456", ".other.gif.loopforge-AbC123",
                                     "anim.gif", "anim.gif.loopforge-Zz9Zz9"}));
}
