// One process call's parameter changes as the host sent them: every point of every queue at its
// sample offset, and the value of a queue at any frame along the straight lines between its
// points (from the value the parameter had at the block's start to the first point, from point
// to point, and held after the last). Each queue's points are read from the host once per call,
// into an array the reader owns; a queue whose points no longer fit there is read in place on
// every lookup instead, with the same answers. Each queue keeps a cursor on its points, so that
// lookups at rising frames, as a call is processed, cost no more than the points they pass;
// a lookup at an earlier frame starts again from the first point. Allocates nothing.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <array>

class Vst3Automation {
public:
    // Queues beyond this many in one call are ignored (the plug-in has far fewer parameters).
    static constexpr int kMaxQueues = 64;
    // Points the reader holds for all queues of a call together.
    static constexpr int kMaxPoints = 1024;

    // Takes the call's queues (null for none) over a block of `frames` frames; point offsets are
    // clamped into the block. `startValue(id)` answers a parameter's normalized value at the
    // block's start.
    template <class StartValue>
    void Read(Steinberg::Vst::IParameterChanges* changes, int frames, StartValue&& startValue)
    {
        count = 0;
        pointsHeld = 0;
        blockFrames = frames;
        const int queues = changes ? changes->getParameterCount() : 0;
        for (int q = 0; q < queues && count < kMaxQueues; ++q) {
            Steinberg::Vst::IParamValueQueue* queue = changes->getParameterData(q);
            if (!queue)
                continue;
            const int points = queue->getPointCount();
            if (points <= 0)
                continue;
            Track& track = tracks[static_cast<size_t>(count)];
            track.queue = queue;
            track.id = queue->getParameterId();
            track.queuePoints = points;
            // A queue none of whose points can be read changes nothing.
            if (!Take(track))
                continue;
            track.start = startValue(track.id);
            track.cursor = Cursor{};
            track.cursor.fromValue = track.start;
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
    double ValueAt(int track, int frame);
    // Whether the track has a point at exactly `frame`; `value` then is the last such point's.
    bool PointAt(int track, int frame, double& value);
    // The first frame after `frame` at which any track has a point; the block's length if none.
    int NextPointAfter(int frame);

private:
    struct Point {
        int offset = 0;
        double value = 0.0;
    };
    // Where a track's lookups stand: at `frame`, between the last readable point passed (the
    // block's start when there is none) and the first readable point after `frame`, in the
    // queue's order. In a queue out of order, a point that stands after a later one is passed
    // over, by the lines and by the points found at a frame alike.
    struct Cursor {
        int frame = -1;  // -1: at no frame yet
        int next = 0;    // the index of the point after `frame`, or the track's point count
        int fromFrame = 0;
        double fromValue = 0.0;
        int nextFrame = 0;
        double nextValue = 0.0;
        // Whether a point passed stands at exactly `frame`, and the last such point's value.
        bool atPoint = false;
        double atValue = 0.0;
    };
    struct Track {
        Steinberg::Vst::IParamValueQueue* queue = nullptr;
        Steinberg::Vst::ParamID id = 0;
        int queuePoints = 0;  // points in the host's queue
        // Held: where the track's readable points start in `held`, and how many there are.
        // Read in place: -1, and the queue's points.
        int first = -1;
        int points = 0;
        bool lastReadable = false;  // whether the queue's last point can be read
        double start = 0.0;
        Cursor cursor;
    };
    // Reads the queue's points into `held` when they fit, else leaves them in place; false when
    // none can be read.
    bool Take(Track& track);
    // Moves the track's cursor to `frame`.
    void MoveTo(Track& track, int frame);
    // Point `index` of the queue, its offset clamped into the block and its value into 0..1;
    // false for a point that cannot be read or is not a number.
    bool ReadQueue(const Track& track, int index, int& offset, double& value) const;
    // Point `index` of the track's points (held, or the queue's read in place).
    bool PointOf(const Track& track, int index, int& offset, double& value) const
    {
        if (track.first < 0)
            return ReadQueue(track, index, offset, value);
        const Point& p = held[static_cast<size_t>(track.first + index)];
        offset = p.offset;
        value = p.value;
        return true;
    }

    std::array<Track, kMaxQueues> tracks{};
    std::array<Point, kMaxPoints> held{};
    int count = 0;
    int pointsHeld = 0;
    int blockFrames = 0;
};
