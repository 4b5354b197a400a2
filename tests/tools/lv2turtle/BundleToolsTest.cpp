// The build's LV2 bundle through the LV2 tools hosts' authors use: sord_validate checks it
// against the LV2 vocabularies, lv2info lists it as a host sees it. And the generator's own
// command line: its errors and its output.
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using vibrascend::host::test::TempFolder;

constexpr const char* kSystemLv2 = "/usr/lib/lv2";

struct CommandRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Runs a shell command line with its output captured.
CommandRun RunCommand(const std::string& command)
{
    TempFolder logs;
    const int status = std::system((command + " >" + Quoted((logs / "out").string()) + " 2>" +
                                    Quoted((logs / "err").string()) + " </dev/null")
                                       .c_str());
    CommandRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(logs / "out");
    run.err = ReadAll(logs / "err");
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The full path of a program on PATH; empty when there is none.
std::string FindProgram(const char* name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder) / name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

std::vector<fs::path> BundleTurtle(const fs::path& bundle)
{
    return {bundle / "manifest.ttl", bundle / "Vibrascend.ttl", bundle / "presets.ttl"};
}

// What sord_validate finds wrong in `files` checked with every LV2 vocabulary: its lines other
// than the summary of a clean run. It reports a file it cannot read or parse in a line of its own
// and still exits 0 saying "Found 0 errors", so every line counts, and the summary must name
// every file.
std::vector<std::string> SordValidateComplaints(const std::vector<fs::path>& files)
{
    const std::string program = FindProgram("sord_validate");
    if (program.empty())
        return {"sord_validate is not installed (scripts/setup.sh installs it, package sordi)"};
    std::string command = Quoted(program);
    std::size_t count = 0;
    for (const fs::directory_entry& bundle : fs::directory_iterator(kSystemLv2)) {
        if (bundle.path().filename() == "Vibrascend.lv2")
            continue;
        for (const fs::directory_entry& file : fs::directory_iterator(bundle.path()))
            if (file.path().extension() == ".ttl") {
                command += ' ' + Quoted(file.path().string());
                ++count;
            }
    }
    for (const fs::path& file : files) {
        command += ' ' + Quoted(file.string());
        ++count;
    }
    const CommandRun run = RunCommand(command);
    std::vector<std::string> complaints;
    const std::regex clean("Found 0 errors among " + std::to_string(count) + " files \\(checked [0-9]+ restrictions\\)");
    for (const std::string& line : Lines(run.out + run.err))
        if (!std::regex_match(line, clean) && !line.empty())
            complaints.push_back(line);
    if (run.exitCode != 0 || (complaints.empty() && !std::regex_search(run.out + run.err, clean)))
        complaints.push_back("sord_validate exits with " + std::to_string(run.exitCode) + " without a clean summary");
    return complaints;
}

TEST(Lv2BundleValidation, TheBuildsTurtleFilesMeetTheLv2Vocabularies)
{
    const std::vector<std::string> complaints = SordValidateComplaints(BundleTurtle(VIBRASCEND_LV2_BUNDLE));
    for (const std::string& complaint : complaints)
        ADD_FAILURE() << complaint;
}

TEST(Lv2BundleValidation, TheCheckSeesBrokenFiles)
{
    // The same files, each broken once: a statement out of its range, a syntax error (which
    // sord_validate reports and yet exits 0 for) and a file that is not there.
    TempFolder folder;
    const std::string plugin = ReadAll(fs::path(VIBRASCEND_LV2_BUNDLE) / "Vibrascend.ttl");
    const std::string presets = ReadAll(fs::path(VIBRASCEND_LV2_BUNDLE) / "presets.ttl");
    ASSERT_NE(plugin.find("lv2:index 5 ;"), std::string::npos);
    ASSERT_NE(presets.find("pset:value 1000.0"), std::string::npos);
    std::ofstream(folder / "range.ttl") << std::regex_replace(plugin, std::regex("lv2:index 5 ;"), "lv2:index \"five\" ;");
    std::ofstream(folder / "syntax.ttl") << std::regex_replace(presets, std::regex("pset:value 1000.0"), "pset:value 1000.0 ]]",
                                                                std::regex_constants::format_first_only);
    for (const char* broken : {"range.ttl", "syntax.ttl", "missing.ttl"}) {
        std::vector<fs::path> files = BundleTurtle(VIBRASCEND_LV2_BUNDLE);
        files.push_back(folder / broken);
        EXPECT_FALSE(SordValidateComplaints(files).empty()) << broken;
    }
}

TEST(Lv2BundleListing, Lv2infoListsThePluginItsPortsPresetsAndUi)
{
    const std::string lv2info = FindProgram("lv2info");
    ASSERT_FALSE(lv2info.empty()) << "lv2info is not installed (scripts/setup.sh installs it, package lilv-utils)";
    // A plug-in folder of the LV2 vocabularies and a copy of the build's bundle alone (lilv reads
    // every folder on LV2_PATH as a bundle, and an installed Vibrascend.lv2 would be a second
    // plug-in of the same URI).
    TempFolder lv2Path;
    for (const fs::directory_entry& bundle : fs::directory_iterator(kSystemLv2))
        if (bundle.path().filename() != "Vibrascend.lv2")
            fs::create_directory_symlink(bundle.path(), lv2Path / bundle.path().filename().string());
    fs::copy(VIBRASCEND_LV2_BUNDLE, lv2Path / "Vibrascend.lv2", fs::copy_options::recursive);

    const CommandRun run = RunCommand("LV2_PATH=" + Quoted(lv2Path.Path().string()) + " " + Quoted(lv2info) + " " +
                               Quoted(VIBRASCEND_PLUGIN_URL));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::string& out = run.out;
    EXPECT_NE(out.find("\tName:              Vibrascend\n"), std::string::npos) << out;
    EXPECT_NE(out.find("\tClass:             Modulator Plugin\n"), std::string::npos);
    EXPECT_NE(out.find("\tAuthor:            Tolmira\n"), std::string::npos);
    EXPECT_NE(out.find("\t\t" VIBRASCEND_PLUGIN_URL "#ui\n\t\t\tClass:  http://lv2plug.in/ns/extensions/ui#X11UI\n"),
              std::string::npos);

    const char* symbols[] = {"in_l",        "in_r",        "out_l",      "out_r",      "split_freq", "damping",
                             "low_gain",    "high_gain",   "out_gain",   "lfo1_target", "lfo1_wave", "lfo1_freq",
                             "lfo1_depth",  "lfo2_target", "lfo2_wave",  "lfo2_freq",  "lfo2_depth", "enabled"};
    std::size_t position = 0;
    for (std::size_t port = 0; port < std::size(symbols); ++port) {
        position = out.find("\tPort " + std::to_string(port) + ":\n", position);
        ASSERT_NE(position, std::string::npos) << "port " << port;
        const std::size_t next = out.find("\tPort ", position + 1);
        EXPECT_NE(out.substr(position, next - position).find(std::string("\t\tSymbol:      ") + symbols[port] + "\n"),
                  std::string::npos)
            << "port " << port;
    }
    EXPECT_EQ(out.find("\tPort " + std::to_string(std::size(symbols)) + ":"), std::string::npos);

    // Presets are listed by name, one line each, between "Presets:" and the first port.
    const std::size_t presets = out.find("\tPresets: \n");
    ASSERT_NE(presets, std::string::npos);
    const std::vector<std::string> lines = Lines(out.substr(presets, out.find("\tPort 0:") - presets));
    std::size_t listed = 0;
    for (const std::string& line : lines)
        listed += line.rfind("\t         ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(listed, 117u);
    EXPECT_NE(out.find("\t         ---- default ----\n"), std::string::npos);
    EXPECT_NE(out.find("\t         7.83 Hz (Schumann Resonance)\n"), std::string::npos);
    EXPECT_NE(out.find("\t         9.6 Hz (Earth's magnetic field)\n"), std::string::npos);
}

TEST(Lv2TurtleProgram, WritesTheBuildsFilesAgainByteForByte)
{
    TempFolder folder;
    const CommandRun run = RunCommand(Quoted(VIBRASCEND_LV2_TURTLE_EXE) + " " + Quoted((folder / "out.lv2").string()) +
                               " --uri " + Quoted(VIBRASCEND_PLUGIN_URL) + " --binary Vibrascend.so --version " +
                               VIBRASCEND_VERSION);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out + run.err, "");
    for (const char* file : {"manifest.ttl", "Vibrascend.ttl", "presets.ttl"})
        EXPECT_EQ(ReadAll(folder / "out.lv2" / file), ReadAll(fs::path(VIBRASCEND_LV2_BUNDLE) / file)) << file;
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder / "out.lv2"))
        ++entries;
    EXPECT_EQ(entries, 3u) << "no partial file is left";
}

TEST(Lv2TurtleProgram, ReportsEachErrorInOneLineWithItsStatus)
{
    TempFolder folder;
    std::ofstream(folder / "file") << "in the way\n";
    const std::string program = Quoted(VIBRASCEND_LV2_TURTLE_EXE);
    const std::string sound = " --uri urn:x:y --binary V.so --version 1.1.0";
    const std::pair<std::string, int> cases[] = {
        {program, 2},
        {program + " out --uri 'urn:x#y' --binary V.so --version 1.1.0", 2},
        {program + " out --binary V.so --version 1.1.0", 2},
        {program + " out --frobnicate" + sound, 2},
        {program + " " + Quoted((folder / "file").string()) + sound, 1},
        {program + " " + Quoted((folder / "file" / "below").string()) + sound, 1},
    };
    for (const auto& [command, status] : cases) {
        const CommandRun run = RunCommand("cd " + Quoted(folder.Path().string()) + " && " + command);
        EXPECT_EQ(run.exitCode, status) << command;
        EXPECT_EQ(run.out, "") << command;
        const std::vector<std::string> lines = Lines(run.err);
        ASSERT_EQ(lines.size(), 1u) << command << "\n" << run.err;
        EXPECT_EQ(lines[0].rfind("vibrascend-lv2-turtle: ", 0), 0u) << lines[0];
    }
    EXPECT_FALSE(fs::exists(folder / "out")) << "a refused command line writes nothing";

    const CommandRun help = RunCommand(program + " --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("usage: vibrascend-lv2-turtle OUTDIR --uri URI", 0), 0u) << help.out;
}

}  // namespace
