// One process call's parameter changes as the host sent them: every point of every queue at its
// sample offset, and the value of a queue at any frame along the straight lines between its
// points (from the value the parameter had at the block's start to the first point, from point
// to point, and held after the last). Reads the host's queues in place; allocates nothing.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>

class Vst3Automation {
public:
    // Queues beyond this many in one call are ignored (the plug-in has far fewer parameters).
    static constexpr int kMaxQueues = 64;

    // Takes the call's queues (null for none) over a block of `frames` frames; point offsets are
    // clamped into the block. `startValue(id)` answers a parameter's normalized value at the
    // block's start.
    template <class StartValue>
    void Read(Steinberg::Vst::IParameterChanges* changes, int frames, StartValue&& startValue)
    {
        count = 0;
        blockFrames = frames;
        const int queues = changes ? changes->getParameterCount() : 0;
        for (int q = 0; q < queues && count < kMaxQueues; ++q) {
            Steinberg::Vst::IParamValueQueue* queue = changes->getParameterData(q);
            if (!queue || queue->getPointCount() <= 0)
                continue;
            Track& track = tracks[static_cast<size_t>(count)];
            track.queue = queue;
            track.id = queue->getParameterId();
            track.points = queue->getPointCount();
            // A queue none of whose points can be read changes nothing.
            if (!Readable(track))
                continue;
            track.start = startValue(track.id);
            ++count;
        }
    }

    int Count() const { return count; }
    Steinberg::Vst::ParamID Id(int track) const { return tracks[static_cast<size_t>(track)].id; }
    // Whether every queue holds one point at offset 0: the changes then all fall at the block's
    // start and nothing moves within it.
    bool AllAtStart() const;
    // The last point's value of a track (finite, in 0..1), or false when it cannot be read.
    bool LastValue(int track, double& value) const;
    // The value at frame `frame` along the track's lines.
    double ValueAt(int track, int frame) const;
    // Whether the track has a point at exactly `frame`; `value` then is the last such point's.
    bool PointAt(int track, int frame, double& value) const;
    // The first frame after `frame` at which any track has a point; the block's length if none.
    int NextPointAfter(int frame) const;

private:
    struct Track {
        Steinberg::Vst::IParamValueQueue* queue = nullptr;
        Steinberg::Vst::ParamID id = 0;
        int points = 0;
        double start = 0.0;
    };
    // Point `index` of a track, its offset clamped into the block and its value into 0..1;
    // false for a point that cannot be read or is not a number.
    bool Point(const Track& track, int index, int& offset, double& value) const;
    bool Readable(const Track& track) const;

    std::array<Track, kMaxQueues> tracks{};
    int count = 0;
    int blockFrames = 0;
};
