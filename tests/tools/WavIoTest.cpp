#include "HostError.h"
#include "TempFolder.h"
#include "WavReader.h"
#include "WavWriter.h"

#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#endif

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <string>
#include <thread>
#include <vector>

namespace vibrascend::host::test {
namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, std::uint32_t v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }
void PutChunk(Bytes& b, const char* id, const Bytes& body, std::uint32_t declared)
{
    PutId(b, id);
    Put32(b, declared);
    b.insert(b.end(), body.begin(), body.end());
}
void PutChunk(Bytes& b, const char* id, const Bytes& body)
{
    PutChunk(b, id, body, static_cast<std::uint32_t>(body.size()));
    if (body.size() % 2 == 1)
        b.push_back(0);
}

Bytes FmtBody(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    Bytes b;
    Put16(b, tag);
    Put16(b, channels);
    Put32(b, rate);
    Put32(b, rate * channels * bits / 8);
    Put16(b, static_cast<std::uint16_t>(channels * bits / 8));
    Put16(b, bits);
    return b;
}

Bytes Riff(const Bytes& chunks)
{
    Bytes b;
    PutId(b, "RIFF");
    Put32(b, static_cast<std::uint32_t>(chunks.size() + 4));
    PutId(b, "WAVE");
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

std::filesystem::path Save(const TempFolder& folder, const std::string& name, const Bytes& bytes)
{
    const auto path = folder / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::vector<double>> ReadAll(WavReader& reader)
{
    std::vector<std::vector<double>> channels(static_cast<std::size_t>(reader.ChannelCount()));
    std::array<std::vector<double>, 2> block{std::vector<double>(3), std::vector<double>(3)};
    std::array<double*, 2> pointers{block[0].data(), block[1].data()};
    while (const std::size_t frames = reader.Read(std::span(pointers.data(), channels.size()), 3)) {
        for (std::size_t c = 0; c < channels.size(); ++c) {
            channels[c].insert(channels[c].end(), block[c].begin(), block[c].begin() + static_cast<long>(frames));
        }
    }
    return channels;
}

std::string OpenError(const std::filesystem::path& path)
{
    try {
        WavReader reader(path);
    } catch (const HostError& error) {
        return error.what();
    }
    return {};
}

TEST(WavRoundTrip, FloatStereoAndMonoComeBackExactly)
{
    TempFolder folder;
    for (int channels : {1, 2}) {
        const auto path = folder / ("out" + std::to_string(channels) + ".wav");
        const std::vector<float> left{0.0f, 0.5f, -1.0f, 1e-8f, 0.999f};
        const std::vector<float> right{1.0f, -0.25f, 0.125f, -1e-3f, 0.3f};
        {
            WavWriter writer(path, 44100, channels);
            const std::array<const float*, 2> pointers{left.data(), right.data()};
            writer.Write(std::span(pointers.data(), static_cast<std::size_t>(channels)), 2);
            const std::array<const float*, 2> rest{left.data() + 2, right.data() + 2};
            writer.Write(std::span(rest.data(), static_cast<std::size_t>(channels)), 3);
            writer.Commit();
        }
        WavReader reader(path);
        EXPECT_EQ(reader.Format().encoding, SampleEncoding::Float);
        EXPECT_EQ(reader.Format().sampleRate, 44100u);
        EXPECT_EQ(reader.ChannelCount(), channels);
        EXPECT_EQ(reader.TotalFrames(), 5u);
        EXPECT_FALSE(reader.Truncated());
        const auto read = ReadAll(reader);
        for (std::size_t i = 0; i < left.size(); ++i) {
            EXPECT_EQ(read[0][i], left[i]);
            if (channels == 2) {
                EXPECT_EQ(read[1][i], right[i]);
            }
        }
        EXPECT_EQ(std::filesystem::file_size(path), 58u + 5u * 4u * static_cast<unsigned>(channels));
    }
    EXPECT_EQ(folder.EntryCount(), 2u);
}

TEST(WavWriterSafety, AbandonedOrFailedWritesLeaveNothing)
{
    TempFolder folder;
    {
        WavWriter writer(folder / "never.wav", 48000, 2);
        const float silence[4] = {};
        const std::array<const float*, 2> pointers{silence, silence};
        writer.Write(pointers, 4);
    }
    EXPECT_EQ(folder.EntryCount(), 0u);
    EXPECT_THROW(WavWriter(folder / "missing" / "x.wav", 48000, 2), HostError);
    EXPECT_THROW(WavWriter(folder / "fast.wav", 0xFFFFFFFFu, 2), HostError);
    std::filesystem::create_directory(folder / "taken.wav");
    EXPECT_THROW(WavWriter(folder / "taken.wav", 48000, 1), HostError);
    EXPECT_EQ(folder.EntryCount(), 1u);  // only the folder that was refused
}

TEST(WavReaderFormats, PcmDepthsAndExtensibleDecodeToFullScale)
{
    TempFolder folder;
    Bytes pcm16;
    for (std::uint32_t v : {0x0000u, 0x7FFFu, 0x8000u, 0xC000u})
        Put16(pcm16, v);
    Bytes pcm24;
    for (std::uint32_t v : {0x000000u, 0x7FFFFFu, 0x800000u, 0x400000u}) {
        pcm24.push_back(static_cast<unsigned char>(v));
        Put16(pcm24, v >> 8);
    }
    Bytes pcm32;
    for (std::uint32_t v : {0x00000000u, 0x7FFFFFFFu, 0x80000000u, 0xC0000000u})
        Put32(pcm32, v);

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
        PutChunk(chunks, "fmt ", FmtBody(1, 1, 22050, c.bits));
        PutChunk(chunks, "data", c.data);
        const auto path = Save(folder, "pcm" + std::to_string(c.bits) + ".wav", Riff(chunks));
        WavReader reader(path);
        EXPECT_EQ(reader.TotalFrames(), 4u);
        const auto read = ReadAll(reader);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_DOUBLE_EQ(read[0][i], c.expected[i]) << c.bits << " bits";
    }

    Bytes extensible = FmtBody(0xFFFE, 2, 96000, 24);
    Put16(extensible, 22);
    Put16(extensible, 24);
    Put32(extensible, 3);
    Put16(extensible, 1);  // sub-format GUID starts with the PCM tag
    extensible.resize(40, 0);
    Bytes chunks;
    PutChunk(chunks, "fmt ", extensible);
    PutChunk(chunks, "data", Bytes(12, 0));
    WavReader reader(Save(folder, "ext.wav", Riff(chunks)));
    EXPECT_EQ(reader.Format().bitsPerSample, 24);
    EXPECT_EQ(reader.ChannelCount(), 2);
    EXPECT_EQ(reader.TotalFrames(), 2u);
}

TEST(WavReaderLayout, OddChunksFmtAfterDataAndTruncationAreHandled)
{
    TempFolder folder;
    Bytes data;
    for (int i = 0; i < 6; ++i)
        Put16(data, static_cast<std::uint32_t>(i * 1000));
    Bytes chunks;
    PutChunk(chunks, "LIST", Bytes(5, 'x'));  // odd size: a pad byte follows
    PutChunk(chunks, "data", data);
    PutChunk(chunks, "fmt ", FmtBody(1, 2, 48000, 16));
    WavReader reordered(Save(folder, "reordered.wav", Riff(chunks)));
    EXPECT_EQ(reordered.TotalFrames(), 3u);
    EXPECT_DOUBLE_EQ(ReadAll(reordered)[1][2], 5000.0 / 32768.0);

    Bytes cut;
    PutChunk(cut, "fmt ", FmtBody(1, 2, 48000, 16));
    PutChunk(cut, "data", Bytes(4 * 10 + 3, 0), 0xFFFFFFFF);  // claims 4 GiB, holds 10.75 frames
    WavReader truncated(Save(folder, "truncated.wav", Riff(cut)));
    EXPECT_TRUE(truncated.Truncated());
    EXPECT_EQ(truncated.TotalFrames(), 10u);
    EXPECT_EQ(ReadAll(truncated)[0].size(), 10u);

    Bytes hugeJunk;
    PutChunk(hugeJunk, "fmt ", FmtBody(1, 1, 48000, 16));
    PutChunk(hugeJunk, "data", Bytes(8, 0));
    PutChunk(hugeJunk, "junk", Bytes(2, 0), 0xFFFFFFF0);
    WavReader afterJunk(Save(folder, "junk.wav", Riff(hugeJunk)));
    EXPECT_EQ(afterJunk.TotalFrames(), 4u);
}

TEST(WavReaderLayout, NonFiniteFloatSamplesBecomeSilence)
{
    TempFolder folder;
    Bytes data;
    for (float v : {0.5f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.5f}) {
        Put32(data, std::bit_cast<std::uint32_t>(v));
    }
    Bytes chunks;
    PutChunk(chunks, "fmt ", FmtBody(3, 1, 48000, 32));
    PutChunk(chunks, "data", data);
    WavReader reader(Save(folder, "nan.wav", Riff(chunks)));
    const auto read = ReadAll(reader);
    EXPECT_EQ(read[0], (std::vector<double>{0.5, 0.0, 0.0, -0.5}));
    EXPECT_EQ(reader.NonFiniteSamples(), 2u);
}

TEST(WavReaderErrors, MalformedFilesAreRefusedWithAReason)
{
    TempFolder folder;
    const auto withFmt = [](const Bytes& fmt) {
        Bytes chunks;
        PutChunk(chunks, "fmt ", fmt);
        PutChunk(chunks, "data", Bytes(16, 0));
        return Riff(chunks);
    };
    Bytes noFmt;
    PutChunk(noFmt, "data", Bytes(16, 0));
    Bytes noData;
    PutChunk(noData, "fmt ", FmtBody(1, 2, 48000, 16));
    Bytes shortFmt;
    PutChunk(shortFmt, "fmt ", Bytes(10, 1));
    PutChunk(shortFmt, "data", Bytes(16, 0));
    Bytes badAlign = FmtBody(1, 2, 48000, 16);
    badAlign[12] = 3;

    const std::pair<Bytes, std::string> cases[] = {
        {Bytes{'R', 'I', 'F'}, "not a WAV file"},
        {Bytes(64, 0), "not a WAV file"},
        {Riff(noFmt), "no fmt chunk"},
        {Riff(noData), "no data chunk"},
        {Riff(shortFmt), "fmt chunk is too short"},
        {withFmt(FmtBody(1, 1, 48000, 8)), "8 bits"},
        {withFmt(FmtBody(3, 1, 48000, 64)), "64 bits"},
        {withFmt(FmtBody(2, 1, 48000, 16)), "unsupported sample format 2"},
        {withFmt(FmtBody(1, 3, 48000, 16)), "3 channels"},
        {withFmt(FmtBody(1, 0, 48000, 16)), "0 channels"},
        {withFmt(FmtBody(1, 2, 0, 16)), "0 Hz"},
        {withFmt(badAlign), "block alignment"},
        {withFmt(FmtBody(0xFFFE, 2, 48000, 16)), "extensible fmt chunk is too short"},
    };
    int index = 0;
    for (const auto& [bytes, reason] : cases) {
        const auto path = Save(folder, "bad" + std::to_string(index++) + ".wav", bytes);
        EXPECT_NE(OpenError(path).find(reason), std::string::npos) << "case " << index << ": " << OpenError(path);
    }
    EXPECT_NE(OpenError(folder / "absent.wav").find("no such file"), std::string::npos);
    EXPECT_NE(OpenError(folder.Path()).find("it is a folder"), std::string::npos);
}

// A stereo 16-bit file of 10 frames whose RIFF and data sizes are those given.
Bytes OpenLengthFile(std::uint32_t riffSize, std::uint32_t dataSize)
{
    Bytes b;
    PutId(b, "RIFF");
    Put32(b, riffSize);
    PutId(b, "WAVE");
    PutChunk(b, "fmt ", FmtBody(1, 2, 48000, 16));
    Bytes data;
    for (int i = 0; i < 20; ++i)
        Put16(data, static_cast<std::uint32_t>(i * 100));
    PutChunk(b, "data", data, dataSize);
    return b;
}

TEST(WavReaderLayout, StreamedSizesMeanTheAudioRunsToTheEnd)
{
    TempFolder folder;
    // sox's size of a stream it cannot seek back into, and the all-ones and zero placeholders.
    const std::pair<std::uint32_t, std::uint32_t> openSizes[] = {
        {0x7FFFF024, 0x7FFFF000}, {0xFFFFFFFF, 0xFFFFFFFF}, {0, 0}, {0xFFFFFFFF, 0}};
    int index = 0;
    for (const auto& [riff, data] : openSizes) {
        WavReader reader(Save(folder, "open" + std::to_string(index++) + ".wav", OpenLengthFile(riff, data)));
        EXPECT_EQ(reader.TotalFrames(), 10u) << riff << " " << data;
        const auto read = ReadAll(reader);
        ASSERT_EQ(read[0].size(), 10u);
        EXPECT_DOUBLE_EQ(read[1][9], 1900.0 / 32768.0);
        EXPECT_FALSE(reader.Truncated()) << riff << " " << data;
    }
    // A header with a true RIFF size does mean the all-ones data size: the file is cut short.
    WavReader cut(Save(folder, "cut.wav", OpenLengthFile(36 + 40, 0xFFFFFFFF)));
    EXPECT_EQ(cut.TotalFrames(), 10u);
    EXPECT_TRUE(cut.Truncated());
}

#if !defined(_WIN32)

// Reads `bytes` through a FIFO, as from a pipe that cannot seek.
struct PipedReader {
    TempFolder folder;
    std::thread writer;
    std::unique_ptr<WavReader> reader;
    std::string error;

    explicit PipedReader(const Bytes& bytes)
    {
        const auto path = folder / "pipe";
        // A reader that gives up early makes the writer's next write fail, not end the program.
        std::signal(SIGPIPE, SIG_IGN);
        ::mkfifo(path.c_str(), 0600);
        writer = std::thread([path, bytes] {
            std::ofstream out(path, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        });
        try {
            reader = std::make_unique<WavReader>(path);
        } catch (const HostError& failure) {
            error = failure.what();
        }
    }
    ~PipedReader()
    {
        reader.reset();
        writer.join();
    }
};

TEST(WavReaderStreams, PipesAreReadOnceFromTheirStart)
{
    Bytes data;
    for (int i = 0; i < 12; ++i)
        Put16(data, static_cast<std::uint32_t>(i * 1000));
    Bytes chunks;
    PutChunk(chunks, "LIST", Bytes(5, 'x'));
    PutChunk(chunks, "fmt ", FmtBody(1, 2, 48000, 16));
    PutChunk(chunks, "data", data);
    {
        PipedReader piped(Riff(chunks));
        ASSERT_TRUE(piped.reader) << piped.error;
        EXPECT_TRUE(piped.reader->LengthKnown());
        EXPECT_EQ(piped.reader->TotalFrames(), 6u);
        const auto read = ReadAll(*piped.reader);
        EXPECT_DOUBLE_EQ(read[1][5], 11000.0 / 32768.0);
        EXPECT_FALSE(piped.reader->Truncated());
    }
    {
        PipedReader piped(OpenLengthFile(0x7FFFF024, 0x7FFFF000));
        ASSERT_TRUE(piped.reader) << piped.error;
        EXPECT_FALSE(piped.reader->LengthKnown());
        EXPECT_EQ(ReadAll(*piped.reader)[0].size(), 10u);
        EXPECT_FALSE(piped.reader->Truncated());
        EXPECT_EQ(piped.reader->TotalFrames(), 10u);
    }
    {
        Bytes cut = OpenLengthFile(36 + 80, 80);  // claims 20 frames, holds 10
        PipedReader piped(cut);
        ASSERT_TRUE(piped.reader) << piped.error;
        EXPECT_EQ(ReadAll(*piped.reader)[0].size(), 10u);
        EXPECT_TRUE(piped.reader->Truncated());
    }
    Bytes dataFirst;
    PutChunk(dataFirst, "data", data);
    PutChunk(dataFirst, "fmt ", FmtBody(1, 2, 48000, 16));
    EXPECT_NE(PipedReader(Riff(dataFirst)).error.find("fmt chunk comes after the audio data"), std::string::npos);
    Bytes noData;
    PutChunk(noData, "fmt ", FmtBody(1, 2, 48000, 16));
    EXPECT_NE(PipedReader(Riff(noData)).error.find("has no data chunk"), std::string::npos);
}

TEST(WavWriterSafety, AReplacedFileKeepsItsModeAndOwner)
{
    TempFolder folder;
    const auto path = folder / "owned.wav";
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0604);
    const bool administrator = ::geteuid() == 0;
    if (administrator) {
        ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    }
    WavWriter writer(path, 48000, 1);
    writer.Commit();
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_EQ(status.st_size, 58);
    if (administrator) {
        EXPECT_EQ(status.st_uid, 4321u);
        EXPECT_EQ(status.st_gid, 4322u);
    }
}

#endif

}  // namespace
}  // namespace vibrascend::host::test
