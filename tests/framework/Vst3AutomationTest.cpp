// The automation reader: each queue's points are asked of the host once per call and every lookup
// answers from the reader's own copy; queues whose points no longer fit in that copy give the same
// answers read in place; unreadable and not-a-number points are skipped, and a queue whose last
// point cannot be read has no last value.
#include "framework/vst3/Vst3Automation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A host queue that counts the points asked of it; a point at offset -1 cannot be read.
class CountingQueue final : public IParamValueQueue {
public:
    CountingQueue(ParamID id, std::vector<std::pair<int32, double>> points) : id(id), points(std::move(points)) {}
    ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return static_cast<int32>(points.size()); }
    tresult PLUGIN_API getPoint(int32 index, int32& offset, ParamValue& value) override
    {
        ++reads;
        if (index < 0 || index >= getPointCount() || points[static_cast<size_t>(index)].first < 0)
            return kResultFalse;
        offset = points[static_cast<size_t>(index)].first;
        value = points[static_cast<size_t>(index)].second;
        return kResultOk;
    }
    tresult PLUGIN_API addPoint(int32, ParamValue, int32&) override { return kResultFalse; }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    ParamID id;
    std::vector<std::pair<int32, double>> points;
    int reads = 0;
};

class Changes final : public IParameterChanges {
public:
    CountingQueue& Add(ParamID id, std::vector<std::pair<int32, double>> points)
    {
        queues.push_back(std::make_unique<CountingQueue>(id, std::move(points)));
        return *queues.back();
    }
    int32 PLUGIN_API getParameterCount() override { return static_cast<int32>(queues.size()); }
    IParamValueQueue* PLUGIN_API getParameterData(int32 index) override
    {
        return index >= 0 && index < getParameterCount() ? queues[static_cast<size_t>(index)].get() : nullptr;
    }
    IParamValueQueue* PLUGIN_API addParameterData(const ParamID&, int32&) override { return nullptr; }
    tresult PLUGIN_API queryInterface(const TUID, void**) override { return kNoInterface; }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    int Reads() const
    {
        int reads = 0;
        for (const auto& q : queues)
            reads += q->reads;
        return reads;
    }

    std::vector<std::unique_ptr<CountingQueue>> queues;
};

constexpr double kStart = 0.5;

// The value of a queue at `frame` as the straight lines between its readable points define it.
double LineValue(const CountingQueue& queue, int frame, int frames)
{
    int fromFrame = 0;
    double fromValue = kStart;
    for (const auto& [at, value] : queue.points) {
        if (at < 0 || !std::isfinite(value))
            continue;
        const int offset = std::min(at, frames - 1);
        const double v = std::clamp(value, 0.0, 1.0);
        if (frame < offset)
            return fromValue + (v - fromValue) * (static_cast<double>(frame - fromFrame) / (offset - fromFrame));
        fromFrame = offset;
        fromValue = v;
    }
    return fromValue;
}

// A queue with a point every `spacing` frames over `frames` frames, its values going up and down.
std::vector<std::pair<int32, double>> Ramp(int frames, int spacing, int phase)
{
    std::vector<std::pair<int32, double>> points;
    for (int f = phase; f < frames; f += spacing)
        points.emplace_back(f, 0.5 + 0.4 * std::sin(0.01 * f + phase));
    return points;
}

void ExpectLines(Vst3Automation& automation, Changes& changes, int frames)
{
    ASSERT_EQ(automation.Count(), static_cast<int>(changes.queues.size()));
    for (int t = 0; t < automation.Count(); ++t) {
        const CountingQueue& queue = *changes.queues[static_cast<size_t>(t)];
        for (int f = 0; f < frames; ++f)
            ASSERT_EQ(automation.ValueAt(t, f), LineValue(queue, f, frames)) << "queue " << t << " frame " << f;
        double last = -1.0;
        ASSERT_TRUE(automation.LastValue(t, last));
        EXPECT_EQ(last, std::clamp(queue.points.back().second, 0.0, 1.0));
    }
    // Every point's frame is a stop, in order.
    std::vector<int> stops;
    for (int f = 0; f < frames; f = automation.NextPointAfter(f))
        stops.push_back(f);
    for (const auto& queue : changes.queues)
        for (const auto& [at, value] : queue->points) {
            double v = -1.0;
            EXPECT_TRUE(at == 0 || std::find(stops.begin(), stops.end(), at) != stops.end()) << at;
            EXPECT_TRUE(automation.PointAt(static_cast<int>(&queue - &changes.queues[0]), at, v));
        }
}

}  // namespace

TEST(Vst3Automation, PointsAreAskedOfTheHostOncePerCall)
{
    constexpr int kFrames = 512;
    Changes changes;
    changes.Add(4, Ramp(kFrames, 7, 0));
    changes.Add(0, Ramp(kFrames, 32, 3));
    changes.Add(8, {{kFrames - 1, 0.3}});
    auto automation = std::make_unique<Vst3Automation>();
    automation->Read(&changes, kFrames, [](ParamID) { return kStart; });
    int points = 0;
    for (const auto& q : changes.queues)
        points += q->getPointCount();
    EXPECT_EQ(changes.Reads(), points);
    EXPECT_FALSE(automation->AllAtStart());
    ExpectLines(*automation, changes, kFrames);
    // The lookups answered from the reader's copy.
    EXPECT_EQ(changes.Reads(), points);
}

TEST(Vst3Automation, QueuesBeyondTheHeldPointsGiveTheSameAnswersReadInPlace)
{
    // The first queue alone fills all but a few of the held points; the second does not fit and
    // is read in place; the third, small, still fits after it.
    constexpr int kFrames = 4096;
    Changes changes;
    changes.Add(1, Ramp(kFrames, 4, 0)).points.resize(Vst3Automation::kMaxPoints - 3);
    changes.Add(2, Ramp(kFrames, 3, 1));
    changes.Add(3, {{5, 0.1}, {900, 0.9}});
    auto automation = std::make_unique<Vst3Automation>();
    automation->Read(&changes, kFrames, [](ParamID) { return kStart; });
    ExpectLines(*automation, changes, kFrames);
    // A queue with more points than the reader holds at all, alone in its call.
    Changes huge;
    huge.Add(7, Ramp(kFrames, 2, 1));
    ASSERT_GT(huge.queues[0]->getPointCount(), Vst3Automation::kMaxPoints);
    automation->Read(&huge, kFrames, [](ParamID) { return kStart; });
    ExpectLines(*automation, huge, kFrames);
}

TEST(Vst3Automation, UnreadablePointsAreSkippedWhetherHeldOrReadInPlace)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    for (const int filler : {0, Vst3Automation::kMaxPoints}) {
        Changes changes;
        if (filler > 0)
            changes.Add(9, Ramp(filler * 2, 2, 0));
        CountingQueue& gaps = changes.Add(1, {{-1, 0.2}, {10, kNaN}, {20, 0.8}, {30, 1.5}});
        CountingQueue& lastLost = changes.Add(2, {{4, 0.25}, {-1, 0.7}});
        changes.Add(3, {{-1, 0.3}, {8, kNaN}});
        auto automation = std::make_unique<Vst3Automation>();
        automation->Read(&changes, 64, [](ParamID) { return kStart; });
        // The queue none of whose points can be read is left out.
        const int base = filler > 0 ? 1 : 0;
        ASSERT_EQ(automation->Count(), base + 2) << filler;
        EXPECT_EQ(automation->ValueAt(base, 10), LineValue(gaps, 10, 64));
        EXPECT_EQ(automation->ValueAt(base, 40), 1.0);
        // The filler's points stand every second frame.
        EXPECT_EQ(automation->NextPointAfter(20), filler > 0 ? 22 : 30);
        double value = -1.0;
        EXPECT_FALSE(automation->PointAt(base, 10, value));
        EXPECT_TRUE(automation->PointAt(base, 30, value));
        EXPECT_EQ(value, 1.0);
        EXPECT_TRUE(automation->LastValue(base, value));
        // A last point that cannot be read gives no last value, though earlier points count.
        EXPECT_FALSE(automation->LastValue(base + 1, value)) << filler;
        EXPECT_EQ(automation->ValueAt(base + 1, 50), 0.25);
        EXPECT_EQ(automation->ValueAt(base + 1, 2), LineValue(lastLost, 2, 64));
    }
}

TEST(Vst3Automation, AllAtStartCountsTheQueuesOwnPoints)
{
    Changes single;
    single.Add(0, {{0, 0.2}});
    single.Add(1, {{0, 0.7}});
    Vst3Automation automation;
    automation.Read(&single, 32, [](ParamID) { return kStart; });
    EXPECT_TRUE(automation.AllAtStart());
    // An unreadable second point still makes the queue one of two points.
    Changes two;
    two.Add(0, {{0, 0.2}, {-1, 0.4}});
    automation.Read(&two, 32, [](ParamID) { return kStart; });
    EXPECT_FALSE(automation.AllAtStart());
    Changes late;
    late.Add(0, {{3, 0.2}});
    automation.Read(&late, 32, [](ParamID) { return kStart; });
    EXPECT_FALSE(automation.AllAtStart());
}

TEST(Vst3Automation, LookupsInAnyOrderAndPointsOutOfOrderGiveTheLinesAnswers)
{
    constexpr int kFrames = 96;
    Changes changes;
    CountingQueue& rising = changes.Add(0, {{10, 0.2}, {10, 0.6}, {40, 0.9}, {70, 0.1}});
    // Out of order, as a careless host may send them: the lookups follow the points in the
    // queue's order, and the points at 20, standing after the one at 50, are passed over.
    CountingQueue& tangled = changes.Add(1, {{50, 0.3}, {20, 0.8}, {60, 0.4}, {20, 0.1}});
    Vst3Automation automation;
    automation.Read(&changes, kFrames, [](ParamID) { return kStart; });
    for (const int frame : {95, 3, 10, 11, 69, 40, 0, 70, 20, 51, 50, 61}) {
        EXPECT_EQ(automation.ValueAt(0, frame), LineValue(rising, frame, kFrames)) << frame;
        EXPECT_EQ(automation.ValueAt(1, frame), LineValue(tangled, frame, kFrames)) << frame;
    }
    double value = -1.0;
    EXPECT_TRUE(automation.PointAt(0, 10, value));
    EXPECT_EQ(value, 0.6);  // the last point at the frame
    EXPECT_FALSE(automation.PointAt(0, 11, value));
    EXPECT_TRUE(automation.PointAt(0, 70, value));
    EXPECT_FALSE(automation.PointAt(1, 20, value));
    EXPECT_TRUE(automation.PointAt(1, 50, value));
    EXPECT_EQ(value, 0.3);
    EXPECT_FALSE(automation.PointAt(0, 0, value));  // the block's start is no point
    EXPECT_FALSE(automation.PointAt(1, 0, value));
    // The stops after a frame: the first point past it in each queue's own order.
    EXPECT_EQ(automation.NextPointAfter(0), 10);
    EXPECT_EQ(automation.NextPointAfter(45), 50);
    EXPECT_EQ(automation.NextPointAfter(5), 10);
    EXPECT_EQ(automation.NextPointAfter(70), kFrames);
}

TEST(Vst3Automation, ACallWalkedThroughReadsEachPointAFewTimesAtMost)
{
    // A dense queue beyond the points the reader holds is read in place: walking the call as the
    // binding does (to the next stop, the lines' values there and the points at it) reads each of
    // its points a bounded number of times, however many there are.
    constexpr int kFrames = 4096;
    Changes changes;
    changes.Add(1, Ramp(kFrames, 1, 0)).points.resize(Vst3Automation::kMaxPoints);
    CountingQueue& dense = changes.Add(2, Ramp(kFrames, 1, 1));
    Vst3Automation automation;
    automation.Read(&changes, kFrames, [](ParamID) { return kStart; });
    const int readsAfterRead = dense.reads;
    double value = 0.0;
    for (int frame = 0; frame < kFrames;) {
        const int next = automation.NextPointAfter(frame);
        for (int t = 0; t < automation.Count(); ++t) {
            automation.PointAt(t, frame, value);
            automation.ValueAt(t, frame);
            automation.ValueAt(t, next);
        }
        frame = next;
    }
    EXPECT_LE(dense.reads - readsAfterRead, 4 * dense.getPointCount());
}
