// A setting that moves from where it stands to a target in equal steps, one per frame, or
// stands still: frame f (from 0) of a glide over n frames gets start + f * ((target - start) / n)
// while f < n, and the target from frame n on.
#pragma once

struct Glide {
    double value = 0.0;
    double start = 0.0;
    double target = 0.0;
    double step = 0.0;
    int frames = 0;
    int done = 0;

    // Stands at `v` from now on.
    void Jump(double v)
    {
        value = start = target = v;
        step = 0.0;
        frames = done = 0;
    }
    // Moves from the value it has now to `to` over `n` frames (at once for 0 or fewer).
    void To(double to, int n)
    {
        if (n <= 0 || to == value) {
            Jump(to);
            return;
        }
        start = value;
        target = to;
        step = (to - value) / n;
        frames = n;
        done = 0;
    }
    // The value for this frame; the glide then moves on by one frame.
    double Next()
    {
        const double now = value;
        Advance(1);
        return now;
    }
    // Moves on by `n` frames.
    void Advance(int n)
    {
        if (done >= frames)
            return;
        done = n >= frames - done ? frames : done + n;
        value = done >= frames ? target : start + done * step;
        if (done >= frames)
            Jump(target);
    }
    bool Moving() const { return done < frames; }
};
