// Writes the seed corpora of the state, preset bank and WAV fuzzers from the effect and the
// reader as they are built, so that the seeds are always valid files of today's formats:
// <dir>/state (the default state, some preset states and the ends of every range), <dir>/bank (saved preset banks) and
// <dir>/wav (small 16-bit, 24-bit, 32-bit and float files, mono and stereo). Every seed is read
// back by the code it is meant for. Usage: WriteFuzzSeeds <dir>
#include "FuzzEffect.h"
#include "FuzzRequire.h"

#include "ByteOrder.h"
#include "WavReader.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using vibrascend::host::WavReader;
using vibrascend::host::WriteLe16;
using vibrascend::host::WriteLe32;

namespace {

constexpr int kSeedPresets[] = {1, 12, 57, 115};

void WriteFile(const fs::path& path, std::span<const std::uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    Require(out.good(), "the seed is written");
}

void WriteStates(const fs::path& dir)
{
    FuzzEffectPtr effect(new FuzzEffect);
    const auto write = [&](const std::string& name) {
        const std::vector<std::uint8_t> state = effect->State();
        FuzzEffectPtr reader(new FuzzEffect);
        Require(reader->SetState(state) == Steinberg::kResultOk, "the state seed loads");
        WriteFile(dir / name, state);
    };
    write("default.state");
    for (int preset : kSeedPresets) {
        Require(effect->LoadPreset(preset), "the seed preset loads");
        write("preset" + std::to_string(preset) + ".state");
    }
    // The ends of every range.
    for (int i = 0; i < effect->NumParams(); ++i)
        effect->GetParam(i)->SetValueClamped(effect->GetParam(i)->Max());
    write("maximum.state");
    for (int i = 0; i < effect->NumParams(); ++i)
        effect->GetParam(i)->SetValueClamped(effect->GetParam(i)->Min());
    write("minimum.state");
}

void WriteBank(FuzzEffect& effect, const fs::path& path)
{
    StateChunk bank;
    Require(effect.SavePresetBank(bank), "the bank seed is saved");
    FuzzEffectPtr reader(new FuzzEffect);
    Require(reader->LoadPresetBank(bank, 0) == bank.Size(), "the bank seed loads");
    WriteFile(path, std::span(bank.Data(), static_cast<size_t>(bank.Size())));
}

void WriteBanks(const fs::path& dir)
{
    FuzzEffectPtr effect(new FuzzEffect);
    WriteBank(*effect, dir / "factory.bank");
    // A bank whose current preset is not the first, with a slot taken as a user preset.
    effect->LoadPreset(140);
    effect->LoadPreset(20);
    WriteBank(*effect, dir / "user.bank");
}

struct WavSeed {
    const char* name;
    std::uint16_t tag;  // 1 PCM, 3 float, 0xFFFE extensible (PCM inside)
    int channels;
    int bits;
    bool listChunk;  // an odd-sized chunk the reader skips before the data
};

std::vector<std::uint8_t> WavBytes(const WavSeed& seed)
{
    constexpr int kFrames = 24;
    const int sampleBytes = seed.bits / 8;
    const int blockAlign = seed.channels * sampleBytes;
    const bool extensible = seed.tag == 0xFFFE;
    const std::uint32_t formatBytes = extensible ? 40 : 16;
    std::vector<std::uint8_t> format(formatBytes);
    WriteLe16(&format[0], seed.tag);
    WriteLe16(&format[2], static_cast<std::uint16_t>(seed.channels));
    WriteLe32(&format[4], 44100);
    WriteLe32(&format[8], static_cast<std::uint32_t>(44100 * blockAlign));
    WriteLe16(&format[12], static_cast<std::uint16_t>(blockAlign));
    WriteLe16(&format[14], static_cast<std::uint16_t>(seed.bits));
    if (extensible) {
        WriteLe16(&format[16], 22);
        WriteLe16(&format[18], static_cast<std::uint16_t>(seed.bits));
        WriteLe16(&format[24], 1);
    }
    std::vector<std::uint8_t> samples;
    for (int frame = 0; frame < kFrames; ++frame)
        for (int c = 0; c < seed.channels; ++c) {
            const double x = 0.7 * std::sin(0.4 * frame + c);
            std::uint8_t bytes[4] = {};
            if (seed.tag == 3)
                WriteLe32(bytes, std::bit_cast<std::uint32_t>(static_cast<float>(x)));
            else
                WriteLe32(bytes, static_cast<std::uint32_t>(static_cast<std::int32_t>(
                                     std::lround(x * std::ldexp(1.0, seed.bits - 1)))));
            samples.insert(samples.end(), bytes, bytes + sampleBytes);
        }

    std::vector<std::uint8_t> out(12);
    const auto chunk = [&](const char* id, std::span<const std::uint8_t> body) {
        std::uint8_t head[8];
        std::copy(id, id + 4, head);
        WriteLe32(head + 4, static_cast<std::uint32_t>(body.size()));
        out.insert(out.end(), head, head + 8);
        out.insert(out.end(), body.begin(), body.end());
        if (body.size() & 1)
            out.push_back(0);
    };
    chunk("fmt ", format);
    if (seed.listChunk) {
        const std::uint8_t info[] = {'I', 'N', 'F', 'O', 'x'};
        chunk("LIST", info);
    }
    chunk("data", samples);
    std::copy_n("RIFF", 4, out.begin());
    WriteLe32(&out[4], static_cast<std::uint32_t>(out.size() - 8));
    std::copy_n("WAVE", 4, out.begin() + 8);
    return out;
}

void WriteWavs(const fs::path& dir)
{
    const WavSeed seeds[] = {
        {"pcm16-mono.wav", 1, 1, 16, false},      {"pcm16-stereo.wav", 1, 2, 16, true},
        {"pcm24-stereo.wav", 1, 2, 24, false},    {"pcm32-mono.wav", 1, 1, 32, true},
        {"float-stereo.wav", 3, 2, 32, false},    {"float-mono.wav", 3, 1, 32, true},
        {"extensible-stereo.wav", 0xFFFE, 2, 24, false},
    };
    for (const WavSeed& seed : seeds) {
        const fs::path path = dir / seed.name;
        WriteFile(path, WavBytes(seed));
        WavReader reader(path);
        Require(reader.TotalFrames() > 0 && reader.ChannelCount() == seed.channels, "the WAV seed reads");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: WriteFuzzSeeds <dir>\n");
        return 2;
    }
    const fs::path dir = argv[1];
    for (const char* sub : {"state", "bank", "wav"})
        fs::create_directories(dir / sub);
    WriteStates(dir / "state");
    WriteBanks(dir / "bank");
    WriteWavs(dir / "wav");
    return 0;
}
