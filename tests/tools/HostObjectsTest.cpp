#include "ComponentHandler.h"
#include "DemoSignal.h"
#include "HostApplication.h"
#include "ParameterChanges.h"
#include "ProgressBar.h"
#include "TextConvert.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace vibrascend::host::test {
namespace {

using namespace Steinberg;

TEST(ParameterChangeLists, QueuesPerIdWithSortedPoints)
{
    ParameterChanges changes;
    changes.Add(7, 0.25);
    changes.Add(0x70727374, 0.5);
    changes.Add(7, 0.75, 32);
    changes.Add(7, 0.1, 16);
    changes.Add(7, 0.3, 16);
    ASSERT_EQ(changes.getParameterCount(), 2);
    Vst::IParamValueQueue* queue = changes.getParameterData(0);
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(queue->getParameterId(), 7u);
    ASSERT_EQ(queue->getPointCount(), 3);
    const std::array<std::pair<int32, double>, 3> expected{{{0, 0.25}, {16, 0.3}, {32, 0.75}}};
    for (int32 i = 0; i < 3; ++i) {
        int32 offset = -1;
        Vst::ParamValue value = -1;
        ASSERT_EQ(queue->getPoint(i, offset, value), kResultOk);
        EXPECT_EQ(offset, expected[static_cast<std::size_t>(i)].first);
        EXPECT_EQ(value, expected[static_cast<std::size_t>(i)].second);
    }
    int32 offset = 0;
    Vst::ParamValue value = 0;
    EXPECT_EQ(queue->getPoint(3, offset, value), kResultFalse);
    EXPECT_EQ(queue->getPoint(-1, offset, value), kResultFalse);
    EXPECT_EQ(changes.getParameterData(2), nullptr);
    EXPECT_EQ(changes.getParameterData(-1), nullptr);
    int32 index = -1;
    EXPECT_EQ(changes.addParameterData(0x70727374, index), changes.getParameterData(1));
    EXPECT_EQ(index, 1);
    changes.Clear();
    EXPECT_EQ(changes.getParameterCount(), 0);
}

TEST(HostContextObjects, AnswerTheirInterfacesOnly)
{
    HostApplication host("vibrascend-render");
    Vst::String128 name{};
    ASSERT_EQ(host.getName(name), kResultOk);
    EXPECT_EQ(ToUtf8(name), "vibrascend-render");
    void* object = nullptr;
    EXPECT_EQ(host.queryInterface(Vst::IHostApplication::iid, &object), kResultOk);
    EXPECT_EQ(object, static_cast<Vst::IHostApplication*>(&host));
    EXPECT_EQ(host.queryInterface(Vst::IComponentHandler::iid, &object), kNoInterface);
    EXPECT_EQ(object, nullptr);
    TUID anyClass{};
    TUID anyInterface{};
    object = &host;
    EXPECT_EQ(host.createInstance(anyClass, anyInterface, &object), kNotImplemented);
    EXPECT_EQ(object, nullptr);

    RecordingComponentHandler handler;
    EXPECT_EQ(handler.queryInterface(Vst::IComponentHandler::iid, &object), kResultOk);
    EXPECT_EQ(handler.queryInterface(Vst::IHostApplication::iid, &object), kNoInterface);
    handler.beginEdit(2);
    handler.performEdit(2, 0.4);
    handler.endEdit(2);
    handler.restartComponent(Vst::kLatencyChanged);
    ASSERT_EQ(handler.Edits().size(), 3u);
    EXPECT_EQ(handler.Edits()[0].kind, EditEvent::Kind::Begin);
    EXPECT_EQ(handler.Edits()[1].kind, EditEvent::Kind::Perform);
    EXPECT_EQ(handler.Edits()[1].value, 0.4);
    EXPECT_EQ(handler.Edits()[2].kind, EditEvent::Kind::End);
    EXPECT_EQ(handler.RestartRequests(), std::vector<int32>{Vst::kLatencyChanged});
}

TEST(TextConversion, Utf16RoundTripsAndStaysInside128Units)
{
    Vst::String128 wide{};
    ToString128("Split Freq \xC2\xB5 \xF0\x9F\x8E\xB5", wide);
    EXPECT_EQ(ToUtf8(wide), "Split Freq \xC2\xB5 \xF0\x9F\x8E\xB5");
    ToString128(std::string(300, 'a'), wide);
    EXPECT_EQ(ToUtf8(wide), std::string(127, 'a'));
    ToString128("\xFF\xC2", wide);
    EXPECT_EQ(ToUtf8(wide), "\xEF\xBF\xBD\xEF\xBF\xBD");
    const Vst::TChar loneSurrogate[] = {u'a', 0xD800, u'b', 0};
    EXPECT_EQ(ToUtf8(loneSurrogate), "a\xEF\xBF\xBD"
                                     "b");
    Vst::String128 unterminated;
    std::fill(std::begin(unterminated), std::end(unterminated), u'x');
    EXPECT_EQ(ToUtf8(unterminated).size(), 128u);
    EXPECT_EQ(ToUtf8(nullptr), "");
    EXPECT_TRUE(EqualsIgnoringCase("LFO1 Wave", "lfo1 WAVE"));
    EXPECT_FALSE(EqualsIgnoringCase("LFO1 Wave", "LFO1 Wav"));
    EXPECT_TRUE(ContainsIgnoringCase("7.83 Hz (Schumann Resonance)", "SCHUMANN"));
    EXPECT_FALSE(ContainsIgnoringCase("Sine", "Sines"));
}

TEST(ProgressDisplay, DrawsOnlyWhenEnabledAndEndsTheLine)
{
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ProgressBar bar(out, 200, true);
    bar.Update(50);
    bar.Update(51);  // still 25 %: not redrawn
    bar.Update(300);
    bar.Finish();
    bar.Finish();
    ProgressBar silent(out, 200, false);
    silent.Update(100);
    silent.Finish();
    std::rewind(out);
    std::string text(4096, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    const std::string quarter = "\r[" + std::string(10, '#') + std::string(30, '.') + "]  25%";
    const std::string full = "\r[" + std::string(40, '#') + "] 100%";
    EXPECT_EQ(text, quarter + full + "\n");
}

TEST(DemoInput, IsDeterministicQuietAndExactlyLong)
{
    DemoSignal first(8000.0, 1.5);
    DemoSignal second(8000.0, 1.5);
    EXPECT_EQ(first.TotalFrames(), 12000u);
    std::vector<double> a(5000), b(5000), c(5000), d(5000);
    std::array<double*, 2> pa{a.data(), b.data()};
    std::array<double*, 2> pb{c.data(), d.data()};
    std::size_t total = 0;
    double peak = 0.0;
    bool channelsDiffer = false;
    while (const std::size_t n = first.Read(pa, 5000)) {
        ASSERT_EQ(second.Read(pb, 5000), n);
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_EQ(a[i], c[i]);
            EXPECT_EQ(b[i], d[i]);
            peak = std::max({peak, std::abs(a[i]), std::abs(b[i])});
            channelsDiffer = channelsDiffer || a[i] != b[i];
        }
        total += n;
    }
    EXPECT_EQ(total, 12000u);
    EXPECT_GT(peak, 0.1);
    EXPECT_LT(peak, 0.9);
    EXPECT_TRUE(channelsDiffer);
}

}  // namespace
}  // namespace vibrascend::host::test
