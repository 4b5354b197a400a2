#include "DemoSignal.h"
#include "ProgramRun.h"
#include "StateFile.h"
#include "TempFolder.h"
#include "WavReader.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vibrascend::host::test {
namespace {

// Runs vibrascend-render inside `folder` with the built bundle.
RunResult RunTool(const TempFolder& folder, const std::string& arguments, bool withPlugin = true)
{
    return RunRender(folder.Path(), arguments + (withPlugin ? " --plugin " + QuotedPath(VIBRASCEND_BUNDLE) : ""));
}

std::vector<std::vector<double>> ReadAll(const std::filesystem::path& path)
{
    WavReader reader(path);
    std::vector<std::vector<double>> channels(static_cast<std::size_t>(reader.ChannelCount()),
                                              std::vector<double>(reader.TotalFrames()));
    std::array<double*, 2> pointers{};
    for (std::size_t c = 0; c < channels.size(); ++c)
        pointers[c] = channels[c].data();
    std::size_t done = 0;
    while (const std::size_t n = reader.Read(std::span(pointers.data(), channels.size()), 4096)) {
        done += n;
        for (std::size_t c = 0; c < channels.size(); ++c)
            pointers[c] = channels[c].data() + done;
    }
    return channels;
}

// A 2-second stereo float file of the demo material at 44.1 kHz.
void WriteInput(const std::filesystem::path& path, double seconds = 2.0, double rate = 44100.0)
{
    DemoSignal signal(rate, seconds);
    WavWriter writer(path, static_cast<std::uint32_t>(rate), 2);
    std::vector<double> l(1024), r(1024);
    std::vector<float> fl(1024), fr(1024);
    std::array<double*, 2> read{l.data(), r.data()};
    const std::array<const float*, 2> write{fl.data(), fr.data()};
    while (const std::size_t n = signal.Read(read, 1024)) {
        for (std::size_t i = 0; i < n; ++i) {
            fl[i] = static_cast<float>(l[i]);
            fr[i] = static_cast<float>(r[i]);
        }
        writer.Write(write, n);
    }
    writer.Commit();
}

std::vector<double> StateValues(const std::filesystem::path& path)
{
    const auto bytes = ReadStateFile(path);
    std::vector<double> values(bytes.size() / 8);
    std::memcpy(values.data(), bytes.data(), values.size() * 8);
    return values;
}

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST(RenderCommandLine, DemoRendersEightSecondsThroughSchumannPreset)
{
    TempFolder folder;
    const RunResult result = RunTool(folder, "");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("preset 73 \"7.83 Hz (Schumann Resonance)\""), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("vibrascend-demo.wav"), std::string::npos);
    const auto output = ReadAll(folder / "vibrascend-demo.wav");
    ASSERT_EQ(output.size(), 2u);
    ASSERT_EQ(output[0].size(), 8u * 48000u);
    EXPECT_EQ(folder.EntryCount(), 1u);

    DemoSignal dry(48000.0, 8.0);
    std::vector<double> l(output[0].size()), r(output[0].size());
    std::array<double*, 2> pointers{l.data(), r.data()};
    ASSERT_EQ(dry.Read(pointers, l.size()), l.size());
    double difference = 0.0;
    for (std::size_t i = 0; i < l.size(); ++i) {
        ASSERT_TRUE(std::isfinite(output[0][i]) && std::isfinite(output[1][i]));
        difference = std::max(difference, std::abs(output[0][i] - l[i]));
    }
    EXPECT_GT(difference, 1e-3) << "the preset's LFO should move the output gain";
}

TEST(RenderCommandLine, ListingsShowWhatAHostSees)
{
    TempFolder folder;
    const RunResult params = RunTool(folder, "params");
    ASSERT_EQ(params.exitCode, 0) << params.err;
    EXPECT_NE(params.out.find("15 parameters"), std::string::npos) << params.out;
    for (const char* text : {"'prst'", "Presets", "program-change", "Split Freq", "Hz", "19980", "1000 Hz", "LFO1 Wave",
                             "Golden Sine", "LFO2 Depth", "30 %", "'bpas'", "Bypass", "automatable,bypass"}) {
        EXPECT_NE(params.out.find(text), std::string::npos) << text;
    }
    const RunResult presets = RunTool(folder, "presets");
    ASSERT_EQ(presets.exitCode, 0) << presets.err;
    EXPECT_NE(presets.out.find("\"Factory Presets\" (id 'prst'): 150 programs"), std::string::npos);
    EXPECT_NE(presets.out.find("    0  ---- default ----"), std::string::npos);
    EXPECT_NE(presets.out.find("   73  7.83 Hz (Schumann Resonance)"), std::string::npos);
    EXPECT_NE(presets.out.find("  116  Solfeggio - 936 Hz (Pineal Gland Activator)"), std::string::npos);
    EXPECT_EQ(LineCount(presets.out), 151);
    const RunResult direct = RunTool(folder, "presets --plugin " + QuotedPath(VIBRASCEND_BUNDLE_LIBRARY), false);
    EXPECT_EQ(direct.exitCode, 0) << direct.err;
    EXPECT_EQ(direct.out, presets.out);
}

TEST(RenderCommandLine, PresetTextAndSettingsReachThePlugin)
{
    TempFolder folder;
    WriteInput(folder / "in.wav");
    const RunResult result =
        RunTool(folder, "render in.wav out.wav --preset '7.83 hz (schumann' --set 'Split Freq=800 Hz' "
                        "--set 'lfo2 wave=triangle' --set 'Out Gain=-3.5' --state-out s.bin");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.err.empty()) << result.err;
    const auto output = ReadAll(folder / "out.wav");
    EXPECT_EQ(output.size(), 2u);
    EXPECT_EQ(output[0].size(), 88200u);
    const auto state = StateValues(folder / "s.bin");
    ASSERT_EQ(state.size(), 13u);
    EXPECT_EQ(state[0], 800.0);
    EXPECT_NEAR(state[4], -3.5, 1e-9);
    EXPECT_NEAR(state[7], 7.83, 1e-9);
    EXPECT_EQ(state[8], 15.0);
    EXPECT_EQ(state[10], 2.0);
}

TEST(RenderCommandLine, OutOfRangeValuesAreClampedWithANote)
{
    TempFolder folder;
    WriteInput(folder / "in.wav", 0.2);
    const RunResult result = RunTool(folder, "render in.wav out.wav --set 'Split Freq=50000' --state-out s.bin");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find("outside the parameter's range"), std::string::npos) << result.err;
    EXPECT_EQ(StateValues(folder / "s.bin")[0], 20000.0);
}

TEST(RenderCommandLine, FailuresSayWhyAndLeaveNoOutput)
{
    TempFolder folder;
    WriteInput(folder / "in.wav", 0.2);
    std::ofstream(folder / "broken.wav") << "RIFF....WAVEjunk";
    std::ofstream(folder / "short.state") << "0123456789";
    const std::pair<std::string, std::string> cases[] = {
        {"render in.wav out.wav --set 'Nope=1'", "unknown parameter \"Nope\""},
        {"render in.wav out.wav --preset 'no such preset'", "unknown preset"},
        {"render in.wav out.wav --preset 500", "numbered 0 to 149"},
        {"render in.wav out.wav --set 'Split Freq=abc'", "not a number"},
        {"render in.wav out.wav --set 'LFO1 Wave=Square'", "one of: Sine, Golden Sine"},
        {"render missing.wav out.wav", "missing.wav: no such file"},
        {"render broken.wav out.wav", "no fmt chunk"},
        {"render in.wav out.wav --preset schumann", "matches 5 presets"},
        {"render in.wav out.wav --state-in short.state", "did not accept the state"},
        {"render in.wav out.wav --state-in absent.state", "absent.state: no such file"},
        {"render in.wav out.wav --bogus", "unknown option --bogus"},
    };
    for (const auto& [arguments, reason] : cases) {
        const RunResult result = RunTool(folder, arguments);
        EXPECT_NE(result.exitCode, 0) << arguments;
        EXPECT_NE(result.err.find(reason), std::string::npos) << arguments << ": " << result.err;
        EXPECT_EQ(LineCount(result.err), 1) << arguments << ": " << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder / "out.wav")) << arguments;
        EXPECT_EQ(folder.EntryCount(), 3u) << arguments;
    }
    const RunResult noBundle = RunTool(folder, "params --plugin /nonexistent/Vibrascend.vst3", false);
    EXPECT_EQ(noBundle.exitCode, 1);
    EXPECT_NE(noBundle.err.find("plug-in not found"), std::string::npos) << noBundle.err;
}

TEST(RenderCommandLine, SavedStateReproducesTheRenderBitForBit)
{
    TempFolder folder;
    WriteInput(folder / "in.wav", 1.0);
    ASSERT_EQ(RunTool(folder, "render in.wav a.wav --preset 40 --set 'Damping=80' --set 'LFO2 Target=Low Gain' "
                              "--set 'LFO2 Freq=3.3' --state-out s.bin")
                  .exitCode,
              0);
    const RunResult again = RunTool(folder, "render in.wav b.wav --state-in s.bin --state-out t.bin");
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(ReadFile(folder / "a.wav"), ReadFile(folder / "b.wav"));
    EXPECT_EQ(ReadFile(folder / "s.bin"), ReadFile(folder / "t.bin"));
    // A state saved before bypass was kept in it (its thirteen values alone) renders the same.
    std::vector<std::uint8_t> older = ReadStateFile(folder / "s.bin");
    ASSERT_EQ(older.size(), 108u);
    older.resize(104);
    WriteStateFile(folder / "old.state", older);
    const RunResult fromOlder = RunTool(folder, "render in.wav d.wav --state-in old.state --state-out u.bin");
    ASSERT_EQ(fromOlder.exitCode, 0) << fromOlder.err;
    EXPECT_EQ(ReadFile(folder / "a.wav"), ReadFile(folder / "d.wav"));
    EXPECT_EQ(ReadFile(folder / "s.bin"), ReadFile(folder / "u.bin"));
    const RunResult plain = RunTool(folder, "render in.wav c.wav");
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(ReadFile(folder / "a.wav"), ReadFile(folder / "c.wav"));
}

TEST(RenderCommandLine, PrecisionsLayoutsRatesAndBlockSizesAgree)
{
    TempFolder folder;
    WriteInput(folder / "in.wav", 0.5);
    ASSERT_EQ(RunTool(folder, "render in.wav single.wav --preset 73").exitCode, 0);
    const RunResult wide = RunTool(folder, "render in.wav double.wav --preset 73 --double --block 300");
    ASSERT_EQ(wide.exitCode, 0) << wide.err;
    const auto single = ReadAll(folder / "single.wav");
    const auto doubled = ReadAll(folder / "double.wav");
    ASSERT_EQ(single[0].size(), doubled[0].size());
    for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t i = 0; i < single[c].size(); ++i)
            ASSERT_NEAR(single[c][i], doubled[c][i], 1e-5) << i;
    }

    // A 16-bit mono file with a truncated data chunk: mono output, whole frames only.
    std::vector<unsigned char> bytes{'R', 'I', 'F', 'F', 0,  0, 0,   0,   'W', 'A',  'V',  'E',  'f', 'm',  't',
                                     ' ', 16,  0,   0,   0,  1, 0,   1,   0,   0x40, 0x1F, 0,    0,   0x80, 0x3E,
                                     0,   0,   2,   0,   16, 0, 'd', 'a', 't', 'a',  0xFF, 0xFF, 0,   0};
    for (int i = 0; i < 4001; ++i) {
        const auto v = static_cast<std::int16_t>(8000 * std::sin(i * 0.05));
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(static_cast<std::uint16_t>(v) >> 8));
    }
    bytes.push_back(0x12);
    std::ofstream(folder / "mono.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const RunResult mono = RunTool(folder, "render mono.wav mono-out.wav --block 1000 --rate 96000");
    ASSERT_EQ(mono.exitCode, 0) << mono.err;
    EXPECT_NE(mono.err.find("shorter than its header says"), std::string::npos);
    WavReader monoOut(folder / "mono-out.wav");
    EXPECT_EQ(monoOut.ChannelCount(), 1);
    EXPECT_EQ(monoOut.TotalFrames(), 4001u);
    EXPECT_EQ(monoOut.Format().sampleRate, 8000u);
}

}  // namespace
}  // namespace vibrascend::host::test
