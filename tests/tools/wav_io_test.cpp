#include "host_error.h"
#include "temp_folder.h"
#include "wav_reader.h"
#include "wav_writer.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace vibrascend::host::test {
namespace {

using Bytes = std::vector<unsigned char>;

void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putId(Bytes& b, const char* id) {
    b.insert(b.end(), id, id + 4);
}
void putChunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t declared) {
    putId(b, id);
    put32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
}
void putChunk(Bytes& b, const char* id, const Bytes& body) {
    putChunk(b, id, body, static_cast<std::uint32_t>(body.size()));
    if (body.size() % 2 == 1) b.push_back(0);
}

Bytes fmtBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes b;
    put16(b, tag);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * channels * bits / 8);
    put16(b, static_cast<std::uint16_t>(channels * bits / 8));
    put16(b, bits);
    return b;
}

Bytes riff(const Bytes& chunks) {
    Bytes b;
    putId(b, "RIFF");
    put32(b, static_cast<std::uint32_t>(chunks.size() + 4));
    putId(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

std::filesystem::path save(const TempFolder& folder, const std::string& name, const Bytes& bytes) {
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::vector<double>> readAll(WavReader& reader) {
    std::vector<std::vector<double>> channels(static_cast<std::size_t>(reader.channelCount()));
    std::array<std::vector<double>, 2> block{std::vector<double>(3), std::vector<double>(3)};
    std::array<double*, 2> pointers{block[0].data(), block[1].data()};
    while (const std::size_t frames = reader.read(std::span(pointers.data(), channels.size()), 3)) {
        for (std::size_t c = 0; c < channels.size(); ++c) {
            channels[c].insert(channels[c].end(), block[c].begin(), block[c].begin() + static_cast<long>(frames));
        }
    }
    return channels;
}

std::string openError(const std::filesystem::path& path) {
    try {
        WavReader reader(path);
    } catch (const HostError& error) {
        return error.what();
    }
    return {};
}

TEST(WavRoundTrip, FloatStereoAndMonoComeBackExactly) {
    TempFolder folder;
    for (int channels : {1, 2}) {
        const auto path = folder / ("out" + std::to_string(channels) + ".wav");
        const std::vector<float> left{0.0f, 0.5f, -1.0f, 1e-8f, 0.999f};
        const std::vector<float> right{1.0f, -0.25f, 0.125f, -1e-3f, 0.3f};
        {
            WavWriter writer(path, 44100, channels);
            const std::array<const float*, 2> pointers{left.data(), right.data()};
            writer.write(std::span(pointers.data(), static_cast<std::size_t>(channels)), 2);
            const std::array<const float*, 2> rest{left.data() + 2, right.data() + 2};
            writer.write(std::span(rest.data(), static_cast<std::size_t>(channels)), 3);
            writer.commit();
        }
        WavReader reader(path);
        EXPECT_EQ(reader.format().encoding, SampleEncoding::Float);
        EXPECT_EQ(reader.format().sampleRate, 44100u);
        EXPECT_EQ(reader.channelCount(), channels);
        EXPECT_EQ(reader.totalFrames(), 5u);
        EXPECT_FALSE(reader.truncated());
        const auto read = readAll(reader);
        for (std::size_t i = 0; i < left.size(); ++i) {
            EXPECT_EQ(read[0][i], left[i]);
            if (channels == 2) {
                EXPECT_EQ(read[1][i], right[i]);
            }
        }
        EXPECT_EQ(std::filesystem::file_size(path), 58u + 5u * 4u * static_cast<unsigned>(channels));
    }
    EXPECT_EQ(folder.entryCount(), 2u);
}

TEST(WavWriterSafety, AbandonedOrFailedWritesLeaveNothing) {
    TempFolder folder;
    {
        WavWriter writer(folder / "never.wav", 48000, 2);
        const float silence[4] = {};
        const std::array<const float*, 2> pointers{silence, silence};
        writer.write(pointers, 4);
    }
    EXPECT_EQ(folder.entryCount(), 0u);
    EXPECT_THROW(WavWriter(folder / "missing" / "x.wav", 48000, 2), HostError);
    EXPECT_THROW(WavWriter(folder / "fast.wav", 0xFFFFFFFFu, 2), HostError);
    {
        std::filesystem::create_directory(folder / "taken.wav");
        WavWriter writer(folder / "taken.wav", 48000, 1);
        EXPECT_THROW(writer.commit(), HostError);
    }
    EXPECT_EQ(folder.entryCount(), 1u);  // only the folder that blocked the rename
}

TEST(WavReaderFormats, PcmDepthsAndExtensibleDecodeToFullScale) {
    TempFolder folder;
    Bytes pcm16;
    for (std::uint32_t v : {0x0000u, 0x7FFFu, 0x8000u, 0xC000u}) put16(pcm16, v);
    Bytes pcm24;
    for (std::uint32_t v : {0x000000u, 0x7FFFFFu, 0x800000u, 0x400000u}) {
        pcm24.push_back(static_cast<unsigned char>(v));
        put16(pcm24, v >> 8);
    }
    Bytes pcm32;
    for (std::uint32_t v : {0x00000000u, 0x7FFFFFFFu, 0x80000000u, 0xC0000000u}) put32(pcm32, v);

    struct Case {
        std::uint16_t bits;
        Bytes data;
        std::array<double, 4> expected;
    };
    const Case cases[] = {
        {16, pcm16, {0.0, 32767.0 / 32768.0, -1.0, -0.5}},
        {24, pcm24, {0.0, 8388607.0 / 8388608.0, -1.0, 0.5}},
        {32, pcm32, {0.0, 2147483647.0 / 2147483648.0, -1.0, -0.5}},
    };
    for (const auto& c : cases) {
        Bytes chunks;
        putChunk(chunks, "fmt ", fmtBody(1, 1, 22050, c.bits));
        putChunk(chunks, "data", c.data);
        const auto path = save(folder, "pcm" + std::to_string(c.bits) + ".wav", riff(chunks));
        WavReader reader(path);
        EXPECT_EQ(reader.totalFrames(), 4u);
        const auto read = readAll(reader);
        for (std::size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(read[0][i], c.expected[i]) << c.bits << " bits";
    }

    Bytes extensible = fmtBody(0xFFFE, 2, 96000, 24);
    put16(extensible, 22);
    put16(extensible, 24);
    put32(extensible, 3);
    put16(extensible, 1);  // sub-format GUID starts with the PCM tag
    extensible.resize(40, 0);
    Bytes chunks;
    putChunk(chunks, "fmt ", extensible);
    putChunk(chunks, "data", Bytes(12, 0));
    WavReader reader(save(folder, "ext.wav", riff(chunks)));
    EXPECT_EQ(reader.format().bitsPerSample, 24);
    EXPECT_EQ(reader.channelCount(), 2);
    EXPECT_EQ(reader.totalFrames(), 2u);
}

TEST(WavReaderLayout, OddChunksFmtAfterDataAndTruncationAreHandled) {
    TempFolder folder;
    Bytes data;
    for (int i = 0; i < 6; ++i) put16(data, static_cast<std::uint32_t>(i * 1000));
    Bytes chunks;
    putChunk(chunks, "LIST", Bytes(5, 'x'));  // odd size: a pad byte follows
    putChunk(chunks, "data", data);
    putChunk(chunks, "fmt ", fmtBody(1, 2, 48000, 16));
    WavReader reordered(save(folder, "reordered.wav", riff(chunks)));
    EXPECT_EQ(reordered.totalFrames(), 3u);
    EXPECT_DOUBLE_EQ(readAll(reordered)[1][2], 5000.0 / 32768.0);

    Bytes cut;
    putChunk(cut, "fmt ", fmtBody(1, 2, 48000, 16));
    putChunk(cut, "data", Bytes(4 * 10 + 3, 0), 0xFFFFFFFF);  // claims 4 GiB, holds 10.75 frames
    WavReader truncated(save(folder, "truncated.wav", riff(cut)));
    EXPECT_TRUE(truncated.truncated());
    EXPECT_EQ(truncated.totalFrames(), 10u);
    EXPECT_EQ(readAll(truncated)[0].size(), 10u);

    Bytes hugeJunk;
    putChunk(hugeJunk, "fmt ", fmtBody(1, 1, 48000, 16));
    putChunk(hugeJunk, "data", Bytes(8, 0));
    putChunk(hugeJunk, "junk", Bytes(2, 0), 0xFFFFFFF0);
    WavReader afterJunk(save(folder, "junk.wav", riff(hugeJunk)));
    EXPECT_EQ(afterJunk.totalFrames(), 4u);
}

TEST(WavReaderLayout, NonFiniteFloatSamplesBecomeSilence) {
    TempFolder folder;
    Bytes data;
    for (float v : {0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5f}) {
        put32(data, std::bit_cast<std::uint32_t>(v));
    }
    Bytes chunks;
    putChunk(chunks, "fmt ", fmtBody(3, 1, 48000, 32));
    putChunk(chunks, "data", data);
    WavReader reader(save(folder, "nan.wav", riff(chunks)));
    const auto read = readAll(reader);
    EXPECT_EQ(read[0], (std::vector<double>{0.5, 0.0, 0.0, -0.5}));
    EXPECT_EQ(reader.nonFiniteSamples(), 2u);
}

TEST(WavReaderErrors, MalformedFilesAreRefusedWithAReason) {
    TempFolder folder;
    const auto withFmt = [](const Bytes& fmt) {
        Bytes chunks;
        putChunk(chunks, "fmt ", fmt);
        putChunk(chunks, "data", Bytes(16, 0));
        return riff(chunks);
    };
    Bytes noFmt;
    putChunk(noFmt, "data", Bytes(16, 0));
    Bytes noData;
    putChunk(noData, "fmt ", fmtBody(1, 2, 48000, 16));
    Bytes shortFmt;
    putChunk(shortFmt, "fmt ", Bytes(10, 1));
    putChunk(shortFmt, "data", Bytes(16, 0));
    Bytes badAlign = fmtBody(1, 2, 48000, 16);
    badAlign[12] = 3;

    const std::pair<Bytes, std::string> cases[] = {
        {Bytes{'R', 'I', 'F'}, "not a WAV file"},
        {Bytes(64, 0), "not a WAV file"},
        {riff(noFmt), "no fmt chunk"},
        {riff(noData), "no data chunk"},
        {riff(shortFmt), "fmt chunk is too short"},
        {withFmt(fmtBody(1, 1, 48000, 8)), "8 bits"},
        {withFmt(fmtBody(3, 1, 48000, 64)), "64 bits"},
        {withFmt(fmtBody(2, 1, 48000, 16)), "unsupported sample format 2"},
        {withFmt(fmtBody(1, 3, 48000, 16)), "3 channels"},
        {withFmt(fmtBody(1, 0, 48000, 16)), "0 channels"},
        {withFmt(fmtBody(1, 2, 0, 16)), "0 Hz"},
        {withFmt(badAlign), "block alignment"},
        {withFmt(fmtBody(0xFFFE, 2, 48000, 16)), "extensible fmt chunk is too short"},
    };
    int index = 0;
    for (const auto& [bytes, reason] : cases) {
        const auto path = save(folder, "bad" + std::to_string(index++) + ".wav", bytes);
        EXPECT_NE(openError(path).find(reason), std::string::npos) << "case " << index << ": " << openError(path);
    }
    EXPECT_NE(openError(folder / "absent.wav").find("no such file"), std::string::npos);
    EXPECT_NE(openError(folder.path()).find("not a regular file"), std::string::npos);
}

}  // namespace
}  // namespace vibrascend::host::test
