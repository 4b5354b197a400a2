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
    // Each point read once; held, the unreadable ones are left out, as every lookup skips them.
    const bool inPlace = track.queuePoints > kMaxPoints - pointsHeld;
    track.first = inPlace ? -1 : pointsHeld;
    track.points = inPlace ? track.queuePoints : 0;
    track.lastReadable = false;
    int readable = 0;
    for (int i = 0; i < track.queuePoints; ++i) {
        int offset = 0;
        double value = 0.0;
        const bool ok = ReadQueue(track, i, offset, value);
        if (ok) {
            ++readable;
            if (!inPlace)
                held[static_cast<size_t>(track.first + track.points++)] = Point{offset, value};
        }
        track.lastReadable = ok;
    }
    if (!inPlace)
        pointsHeld += track.points;
    return readable > 0;
}

void Vst3Automation::MoveTo(Track& track, int frame)
{
    Cursor& c = track.cursor;
    if (frame < c.frame) {
        c = Cursor{};
        c.fromValue = track.start;
    }
    // Points passed before stood at earlier frames.
    if (frame != c.frame)
        c.atPoint = false;
    // Up to the next point, the cursor stands where it stood.
    if (c.frame >= 0 && (c.next >= track.points || frame < c.nextFrame)) {
        c.frame = frame;
        return;
    }
    while (c.next < track.points) {
        int offset = 0;
        double value = 0.0;
        if (!PointOf(track, c.next, offset, value)) {
            ++c.next;
            continue;
        }
        if (frame < offset) {
            c.nextFrame = offset;
            c.nextValue = value;
            break;
        }
        if (offset == frame) {
            c.atPoint = true;
            c.atValue = value;
        }
        c.fromFrame = offset;
        c.fromValue = value;
        ++c.next;
    }
    c.frame = frame;
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

double Vst3Automation::ValueAt(int track, int frame)
{
    Track& t = tracks[static_cast<size_t>(track)];
    MoveTo(t, frame);
    const Cursor& c = t.cursor;
    if (c.next >= t.points)
        return c.fromValue;
    // On the line from the previous point (or the block's start) to the next.
    const double share = static_cast<double>(frame - c.fromFrame) / (c.nextFrame - c.fromFrame);
    return c.fromValue + (c.nextValue - c.fromValue) * share;
}

bool Vst3Automation::PointAt(int track, int frame, double& value)
{
    Track& t = tracks[static_cast<size_t>(track)];
    MoveTo(t, frame);
    if (!t.cursor.atPoint)
        return false;
    value = t.cursor.atValue;
    return true;
}

int Vst3Automation::NextPointAfter(int frame)
{
    int next = blockFrames;
    for (int t = 0; t < count; ++t) {
        Track& track = tracks[static_cast<size_t>(t)];
        MoveTo(track, frame);
        if (track.cursor.next < track.points)
            next = std::min(next, track.cursor.nextFrame);
    }
    return next;
}
