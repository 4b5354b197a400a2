#include "framework/vst3/Vst3Automation.h"

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

bool Vst3Automation::ReadQueue(const Track& track, int index, int& offset, double& value) const
{
    int32 at = 0;
    ParamValue v = 0.0;
    if (track.queue->getPoint(index, at, v) != kResultOk || !std::isfinite(v))
        return false;
    offset = std::clamp<int>(at, 0, std::max(blockFrames - 1, 0));
    value = std::clamp(v, 0.0, 1.0);
    return true;
}

bool Vst3Automation::Take(Track& track)
{
    int offset = 0;
    double value = 0.0;
    if (track.queuePoints > kMaxPoints - pointsHeld) {
        // No room left: every lookup reads the queue.
        track.first = -1;
        track.points = track.queuePoints;
        track.lastReadable = ReadQueue(track, track.queuePoints - 1, offset, value);
        for (int i = 0; i < track.points; ++i)
            if (ReadQueue(track, i, offset, value))
                return true;
        return false;
    }
    // Each point read once; the unreadable ones are left out, as every lookup skips them.
    track.first = pointsHeld;
    track.points = 0;
    track.lastReadable = false;
    for (int i = 0; i < track.queuePoints; ++i) {
        const bool readable = ReadQueue(track, i, offset, value);
        if (readable)
            held[static_cast<size_t>(track.first + track.points++)] = Point{offset, value};
        track.lastReadable = readable;
    }
    pointsHeld += track.points;
    return track.points > 0;
}

bool Vst3Automation::AllAtStart() const
{
    for (int t = 0; t < count; ++t) {
        const Track& track = tracks[static_cast<size_t>(t)];
        int offset = 0;
        double value = 0.0;
        if (track.queuePoints != 1 || (PointOf(track, 0, offset, value) && offset != 0))
            return false;
    }
    return true;
}

bool Vst3Automation::LastValue(int track, double& value) const
{
    const Track& t = tracks[static_cast<size_t>(track)];
    if (!t.lastReadable)
        return false;
    int offset = 0;
    return PointOf(t, t.points - 1, offset, value);
}

double Vst3Automation::ValueAt(int track, int frame) const
{
    const Track& t = tracks[static_cast<size_t>(track)];
    int fromFrame = 0;
    double fromValue = t.start;
    for (int i = 0; i < t.points; ++i) {
        int offset = 0;
        double value = 0.0;
        if (!PointOf(t, i, offset, value))
            continue;
        if (frame < offset) {
            // On the line from the previous point (or the block's start) to this one.
            const double share = static_cast<double>(frame - fromFrame) / (offset - fromFrame);
            return fromValue + (value - fromValue) * share;
        }
        fromFrame = offset;
        fromValue = value;
    }
    return fromValue;
}

bool Vst3Automation::PointAt(int track, int frame, double& value) const
{
    const Track& t = tracks[static_cast<size_t>(track)];
    bool found = false;
    for (int i = 0; i < t.points; ++i) {
        int offset = 0;
        double v = 0.0;
        if (PointOf(t, i, offset, v) && offset == frame) {
            value = v;
            found = true;
        }
    }
    return found;
}

int Vst3Automation::NextPointAfter(int frame) const
{
    int next = blockFrames;
    for (int t = 0; t < count; ++t) {
        const Track& track = tracks[static_cast<size_t>(t)];
        for (int i = 0; i < track.points; ++i) {
            int offset = 0;
            double value = 0.0;
            if (PointOf(track, i, offset, value) && offset > frame) {
                next = std::min(next, offset);
                break;
            }
        }
    }
    return next;
}
