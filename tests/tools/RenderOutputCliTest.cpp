// Where vibrascend-render writes, run as a user runs it: files, links, read-only files, pipes,
// devices, the standard streams, a stop by a signal; and a plug-in named relative to the folder.
#include "ProgramRun.h"
#include "TempFolder.h"
#include "WavReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace vibrascend::host::test {
namespace {

constexpr std::size_t kWavHeaderBytes = 58;

RunResult RunTool(const TempFolder& folder, const std::string& arguments)
{
    return RunRender(folder.Path(), arguments + " --plugin " + QuotedPath(VIBRASCEND_BUNDLE));
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

void Save(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A stereo 16-bit input of `frames` frames, a ramp, with exact sizes in its header.
std::string InputWav(std::uint32_t frames)
{
    std::string bytes;
    const auto put32 = [&bytes](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>(v >> (8 * i)));
    };
    const auto put16 = [&bytes](std::uint32_t v) {
        bytes.push_back(static_cast<char>(v));
        bytes.push_back(static_cast<char>(v >> 8));
    };
    bytes += "RIFF";
    put32(36 + frames * 4);
    bytes += "WAVEfmt ";
    put32(16);
    put16(1);
    put16(2);
    put32(44100);
    put32(44100 * 4);
    put16(4);
    put16(16);
    bytes += "data";
    put32(frames * 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        put16((i * 37) & 0x3FFF);
        put16((i * 91) & 0x3FFF);
    }
    return bytes;
}

// The folder with in.wav and ref.wav, its render to a plain file.
struct Rendered {
    TempFolder folder;
    std::string reference;

    explicit Rendered(std::uint32_t frames = 20000)
    {
        Save(folder / "in.wav", InputWav(frames));
        const RunResult result = RunTool(folder, "render in.wav ref.wav");
        EXPECT_EQ(result.exitCode, 0) << result.err;
        reference = ReadFile(folder / "ref.wav");
    }
};

TEST(RenderOutputs, APluginNamedRelativeToTheCurrentFolderIsFound)
{
    TempFolder folder;
    const std::filesystem::path library = VIBRASCEND_BUNDLE_LIBRARY;
    const std::filesystem::path bundle = VIBRASCEND_BUNDLE;
    const RunResult absolute = RunRender(folder.Path(), "presets --plugin " + QuotedPath(bundle));
    ASSERT_EQ(absolute.exitCode, 0) << absolute.err;
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {library.parent_path(), library.filename().string()},
        {library.parent_path(), "./" + library.filename().string()},
        {bundle.parent_path(), bundle.filename().string()},
        {bundle, "."},
        {library.parent_path(), "../../../" + bundle.filename().string()},
    };
    for (const auto& [where, name] : cases) {
        const RunResult relative = RunRender(where, "presets --plugin '" + name + "'");
        EXPECT_EQ(relative.exitCode, 0) << name << ": " << relative.err;
        EXPECT_EQ(relative.out, absolute.out) << name;
    }
}

#if !defined(_WIN32)

TEST(RenderOutputs, ASymbolicLinkLeadsToItsTargetWhichKeepsItsPermissions)
{
    Rendered run;
    const TempFolder& folder = run.folder;
    std::filesystem::create_directory(folder / "sub");
    Save(folder / "sub" / "target.wav", "old");
    std::filesystem::permissions(folder / "sub" / "target.wav", std::filesystem::perms::owner_read |
                                                                    std::filesystem::perms::owner_write |
                                                                    std::filesystem::perms::group_read);
    std::filesystem::create_symlink(std::filesystem::path("sub") / "target.wav", folder / "link.wav");
    std::filesystem::create_symlink(std::filesystem::path("sub") / "new.wav", folder / "dangling.wav");

    for (const char* link : {"link.wav", "dangling.wav"}) {
        const RunResult result = RunTool(folder, std::string("render in.wav ") + link);
        ASSERT_EQ(result.exitCode, 0) << link << ": " << result.err;
        EXPECT_TRUE(std::filesystem::is_symlink(folder / link)) << link;
    }
    EXPECT_EQ(std::filesystem::read_symlink(folder / "link.wav"), std::filesystem::path("sub") / "target.wav");
    EXPECT_EQ(ReadFile(folder / "sub" / "target.wav"), run.reference);
    EXPECT_EQ(ReadFile(folder / "sub" / "new.wav"), run.reference);
    EXPECT_EQ(std::filesystem::status(folder / "sub" / "target.wav").permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    EXPECT_EQ(folder.EntryCount(), 5u);  // in, ref, sub, the two links
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "sub"), {}), 2);
}

TEST(RenderOutputs, AReadOnlyFileIsRefusedAndLeftAsItWas)
{
    Rendered run(100);
    const TempFolder& folder = run.folder;
    const auto readOnly = std::filesystem::perms::owner_read | std::filesystem::perms::group_read;
    for (const char* name : {"kept.wav", "kept.state"}) {
        Save(folder / name, "keep");
        std::filesystem::permissions(folder / name, readOnly);
    }
    // Refused even to an administrator, who could write it: the mode says the file is not to change.
    const std::pair<std::string, std::string> cases[] = {
        {"render in.wav kept.wav", "cannot write kept.wav: the file is read-only"},
        {"render in.wav out.wav --state-out kept.state", "cannot write state file kept.state: the file is read-only"},
    };
    for (const auto& [arguments, reason] : cases) {
        const RunResult result = RunTool(folder, arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
    }
    for (const char* name : {"kept.wav", "kept.state"}) {
        EXPECT_EQ(ReadFile(folder / name), "keep");
        EXPECT_EQ(std::filesystem::status(folder / name).permissions() & std::filesystem::perms::all, readOnly);
    }
    EXPECT_EQ(folder.EntryCount(), 4u);  // no out.wav, no partial files

    std::filesystem::create_directory(folder / "folder.wav");
    const RunResult intoFolder = RunTool(folder, "render in.wav folder.wav");
    EXPECT_EQ(intoFolder.exitCode, 1);
    EXPECT_NE(intoFolder.err.find("cannot write folder.wav: it is a folder"), std::string::npos) << intoFolder.err;
}

// A process of the tool with the given standard streams, started as a shell starts a foreground
// command: the stop signals at their defaults.
pid_t Start(const std::vector<std::string>& arguments, int in, int out, int err)
{
    std::vector<std::string> all{VIBRASCEND_RENDER_EXE};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.insert(all.end(), {"--plugin", VIBRASCEND_BUNDLE});
    std::vector<char*> argv;
    for (auto& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    // A tool that ends early must fail its test, not end the test program with SIGPIPE.
    ::signal(SIGPIPE, SIG_IGN);
    const pid_t pid = ::fork();
    if (pid == 0) {
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
            ::signal(signal, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// Writes all of `bytes` to the descriptor from another thread, then closes it.
std::thread Feed(int descriptor, std::string bytes)
{
    return std::thread([descriptor, bytes = std::move(bytes)] {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(descriptor, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::close(descriptor);
    });
}

std::string Drain(int descriptor)
{
    std::string bytes;
    char buffer[65536];
    for (ssize_t n; (n = ::read(descriptor, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(n));
    return bytes;
}

std::uint32_t Le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return value;
}

// A streamed copy of ref.wav: the same audio after a header of open length, as sox streams one.
void ExpectStreamedCopy(const std::string& streamed, const std::string& reference, const TempFolder& folder)
{
    ASSERT_EQ(streamed.size(), reference.size());
    EXPECT_EQ(streamed.compare(kWavHeaderBytes, std::string::npos, reference, kWavHeaderBytes), 0);
    EXPECT_EQ(Le32(streamed, 54), 0x7FFFF000u);  // the data size
    EXPECT_EQ(Le32(streamed, 46), 0x7FFFF000u / 8);  // the frames of the fact chunk
    EXPECT_EQ(Le32(streamed, 4), 0x7FFFF000u + kWavHeaderBytes - 8);
    Save(folder / "streamed-copy.wav", streamed);
    WavReader reader(folder / "streamed-copy.wav");
    EXPECT_EQ(reader.TotalFrames(), (reference.size() - kWavHeaderBytes) / 8);
    EXPECT_FALSE(reader.Truncated());
    std::filesystem::remove(folder / "streamed-copy.wav");
}

TEST(RenderOutputs, AFifoDeliversTheAudioToItsReader)
{
    Rendered run;
    const TempFolder& folder = run.folder;
    ASSERT_EQ(::mkfifo((folder / "audio.fifo").c_str(), 0644), 0);
    std::string received;
    std::thread reader([&] {
        const int descriptor = ::open((folder / "audio.fifo").c_str(), O_RDONLY);
        received = Drain(descriptor);
        ::close(descriptor);
    });
    const RunResult result = RunTool(folder, "render in.wav audio.fifo");
    reader.join();
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ExpectStreamedCopy(received, run.reference, folder);
    EXPECT_TRUE(std::filesystem::is_fifo(folder / "audio.fifo"));
    EXPECT_EQ(folder.EntryCount(), 3u);
}

TEST(RenderOutputs, ADeviceThatFailsWritesIsReportedAndStaysInPlace)
{
    Rendered run(100);
    const TempFolder& folder = run.folder;
    // A node of the device that answers every write "no space left" (the system's /dev/full), of
    // our own where we may make one, so that a fault can never replace the system's.
    std::filesystem::path device = "/dev/full";
    if (::geteuid() == 0) {
        device = folder / "full";
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    } else if (!std::filesystem::is_character_file(device)) {
        GTEST_SKIP() << "no /dev/full and no right to make a device node";
    }
    const std::string arguments[] = {"render in.wav " + QuotedPath(device),
                                     "render in.wav out.wav --state-out " + QuotedPath(device)};
    for (const auto& command : arguments) {
        const RunResult result = RunTool(folder, command);
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("No space left on device"), std::string::npos) << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << result.err;
        EXPECT_TRUE(std::filesystem::is_character_file(device)) << command;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.wav"));
    EXPECT_EQ(folder.EntryCount(), device.parent_path() == folder.Path() ? 3u : 2u);
}

TEST(RenderOutputs, StandardInputAndOutputCarryTheAudio)
{
    Rendered run;
    const TempFolder& folder = run.folder;
    const std::string input = ReadFile(folder / "in.wav");

    // Through pipes: the output cannot seek, so its header is written for a stream.
    int in[2];
    int out[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(out, O_CLOEXEC), 0);
    const int err = ::open((folder / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = Start({"render", "-", "-"}, in[0], out[1], err);
    ::close(in[0]);
    ::close(out[1]);
    ::close(err);
    std::thread feeder = Feed(in[1], input);
    const std::string piped = Drain(out[0]);
    ::close(out[0]);
    feeder.join();
    const int status = WaitFor(pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << ReadFile(folder / "err.txt");
    EXPECT_NE(ReadFile(folder / "err.txt").find("Rendered standard input"), std::string::npos);
    ExpectStreamedCopy(piped, run.reference, folder);

    // The streamed output read back from a pipe renders again, to its end, without a note.
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    const int again = ::open((folder / "again.wav").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int note = ::open((folder / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t second = Start({"render", "-", "-"}, in[0], again, note);
    ::close(in[0]);
    ::close(again);
    ::close(note);
    std::thread refeeder = Feed(in[1], piped);
    const int secondStatus = WaitFor(second);
    refeeder.join();
    ASSERT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0) << ReadFile(folder / "err.txt");
    EXPECT_EQ(ReadFile(folder / "err.txt").find("note"), std::string::npos) << ReadFile(folder / "err.txt");
    WavReader reread(folder / "again.wav");
    EXPECT_EQ(reread.TotalFrames(), 20000u);

    // Redirected files: standard output seeks, so the header is completed as in a file.
    const int file = ::open((folder / "in.wav").c_str(), O_RDONLY | O_CLOEXEC);
    const int target = ::open((folder / "redirected.wav").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int log = ::open((folder / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int third = WaitFor(Start({"render", "-", "-"}, file, target, log));
    ::close(file);
    ::close(target);
    ::close(log);
    ASSERT_TRUE(WIFEXITED(third) && WEXITSTATUS(third) == 0) << ReadFile(folder / "err.txt");
    EXPECT_EQ(ReadFile(folder / "redirected.wav"), run.reference);
}

class RenderStop : public ::testing::TestWithParam<int> {};

TEST_P(RenderStop, RemovesThePartialFileAndLeavesTheOutputUnchanged)
{
    const int signal = GetParam();
    TempFolder folder;
    TempFolder logs;
    Save(folder / "out.wav", "old");
    int in[2];
    ASSERT_EQ(::pipe2(in, O_CLOEXEC), 0);
    const int none = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int err = ::open((logs / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = Start({"render", "-", (folder / "out.wav").string()}, in[0], none, err);
    ::close(in[0]);
    ::close(none);
    ::close(err);
    // Half the input, then the pipe stays open: the render waits for the rest, mid-way.
    const std::string input = InputWav(200000);
    ASSERT_EQ(::write(in[1], input.data(), input.size() / 2), static_cast<ssize_t>(input.size() / 2));
    const auto partialExists = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            if (entry.path().filename().string().starts_with("out.wav.partial-"))
                return true;
        }
        return false;
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!partialExists() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(partialExists());
    ::kill(pid, signal);
    const int status = WaitFor(pid);
    ::close(in[1]);

    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    const std::string said = ReadFile(logs / "err.txt");
    EXPECT_NE(said.find(std::string("vibrascend-render: stopped by SIG") + sigabbrev_np(signal)), std::string::npos)
        << said;
    EXPECT_NE(said.find("out.wav is unchanged"), std::string::npos) << said;
    EXPECT_EQ(LineCount(said), 1) << said;
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(ReadFile(folder / "out.wav"), "old");
}

INSTANTIATE_TEST_SUITE_P(Signals, RenderStop, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string("SIG") + sigabbrev_np(info.param);
                         });

#endif

}  // namespace
}  // namespace vibrascend::host::test
