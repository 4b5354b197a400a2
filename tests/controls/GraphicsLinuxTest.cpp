// The Linux graphics object's platform operations: the URL opener started without a shell,
// folders, embedded images and the absent window.
#include "EditorFixture.h"
#include "platform/linux/EmbedTarget.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

// A directory holding a fake xdg-open that writes its argument count and arguments to a file,
// put first on PATH while the object lives.
class FakeOpener {
public:
    FakeOpener()
    {
        char tmpl[] = "/tmp/vibrascend-opener-XXXXXX";
        dir = mkdtemp(tmpl);
        out = dir + "/args";
        std::ofstream script(dir + "/xdg-open");
        script << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << out << ".tmp'\nmv '" << out << ".tmp' '" << out
               << "'\n";
        script.close();
        chmod((dir + "/xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        oldPath = path ? path : "";
        setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    }
    ~FakeOpener()
    {
        setenv("PATH", oldPath.c_str(), 1);
        std::filesystem::remove_all(dir);
    }
    // What the opener received, waiting up to five seconds for it.
    std::string Received() const
    {
        for (int i = 0; i < 500; ++i) {
            std::ifstream in(out);
            if (in) {
                std::stringstream s;
                s << in.rdbuf();
                return s.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return "(nothing)";
    }

    std::string dir;
    std::string out;
    std::string oldPath;
};

}  // namespace

TEST_F(Editor, UrlIsHandedToTheOpenerAsOneUninterpretedArgument)
{
    FakeOpener opener;
    const char* url = "https://tolmira.example/a b;touch /tmp/x $(id) `id` '\"";
    EXPECT_TRUE(graphics->OpenURL(url, "Tolmira", nullptr, nullptr));
    EXPECT_EQ(opener.Received(), std::string("1|") + url + "|");
}

TEST_F(Editor, UrlsThatCannotOrMustNotBeOpenedAreRefused)
{
    {
        FakeOpener opener;
        EXPECT_FALSE(graphics->OpenURL("--manual", nullptr, nullptr, nullptr));
        EXPECT_FALSE(graphics->OpenURL("", nullptr, nullptr, nullptr));
        EXPECT_FALSE(graphics->OpenURL(nullptr, nullptr, nullptr, nullptr));
        EXPECT_FALSE(graphics->OpenURL("https://tolmira.example/", "t", "Open it?", nullptr));
    }
    const char* path = std::getenv("PATH");
    const std::string saved = path ? path : "";
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(graphics->OpenURL("https://tolmira.example/", nullptr, nullptr, "failed"));
    setenv("PATH", saved.c_str(), 1);
}

TEST_F(Editor, FoldersEndWithASeparatorAndNameWhereThingsAre)
{
    const std::string host = graphics->HostFolder();
    ASSERT_FALSE(host.empty());
    EXPECT_EQ(host.back(), '/');
    char exe[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
    EXPECT_EQ(std::string(exe).rfind(host, 0), 0u);
    const std::string library = graphics->LibraryFolder();
    ASSERT_FALSE(library.empty());
    EXPECT_EQ(library.back(), '/');
    EXPECT_TRUE(std::filesystem::is_directory(library));
}

TEST_F(Editor, NoWindowWithoutAHostWindowAndImagesComeFromTheEmbeddedResources)
{
    // Without a host window or a run loop to drive it, no window opens.
    EXPECT_EQ(graphics->OpenWindow(nullptr), nullptr);
    EmbedTarget noRunLoop;
    noRunLoop.parentWindow = 0x1234;
    EXPECT_EQ(graphics->OpenWindow(&noRunLoop), nullptr);
    EXPECT_FALSE(graphics->WindowIsOpen());
    graphics->CloseWindow();
    const std::unique_ptr<PIX_IBitmap> knob = graphics->DecodeImage(101, "knob");
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->GetWidth(), 57);
    EXPECT_EQ(graphics->DecodeImage(999, "none"), nullptr);
}
