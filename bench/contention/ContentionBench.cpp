// The audio thread beside a busy UI thread: 64-frame blocks at 48 kHz, each call timed against
// its deadline (1333 us), while another thread copies and restores the state and reads program
// names in a loop, as hosts do for autosave and undo. Prints the calls over the deadline, the
// longest call, and the locks process took with the longest wait for one (which must be 0: it
// takes none). Usage: vibrascend_contention_bench [seconds, default 10]
#include "LockWaitMeter.h"
#include "effect/vst3/VibrascendVst3.h"

#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/memorystream.h"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 64;
constexpr double kRate = 48000.0;
constexpr auto kDeadline = std::chrono::nanoseconds(static_cast<long long>(kFrames / kRate * 1e9));

// Real-time priority for the calling thread where the system allows it.
bool RaisePriority()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_max(SCHED_FIFO) - 1;
    return pthread_setschedparam(pthread_self(), SCHED_FIFO, &param) == 0;
}

struct AudioFigures {
    long calls = 0;
    long overDeadline = 0;
    Clock::duration longest{};
};

AudioFigures RunAudio(VibrascendVst3& effect, const std::atomic<bool>& stop)
{
    AudioFigures figures;
    std::vector<float> left(kFrames), right(kFrames);
    float* channels[2] = {left.data(), right.data()};
    auto next = Clock::now();
    while (!stop.load()) {
        for (int i = 0; i < kFrames; ++i) {
            left[static_cast<size_t>(i)] = 0.25f * static_cast<float>((i % 16) - 8);
            right[static_cast<size_t>(i)] = -left[static_cast<size_t>(i)];
        }
        AudioBusBuffers bus{};
        bus.numChannels = 2;
        bus.channelBuffers32 = channels;
        ProcessData data{};
        data.symbolicSampleSize = kSample32;
        data.numSamples = kFrames;
        data.numInputs = 1;
        data.numOutputs = 1;
        data.inputs = &bus;
        data.outputs = &bus;
        const auto start = Clock::now();
        lock_wait_meter::SetInsideProcess(true);
        effect.process(data);
        lock_wait_meter::SetInsideProcess(false);
        const auto took = Clock::now() - start;
        ++figures.calls;
        figures.longest = std::max(figures.longest, took);
        if (took > kDeadline)
            ++figures.overDeadline;
        next += kDeadline;
        std::this_thread::sleep_until(next);
    }
    return figures;
}

// The host's UI thread: copy the state, restore it, read a program name, round after round.
long RunUi(VibrascendVst3& effect, const std::atomic<bool>& stop)
{
    long rounds = 0;
    String128 name{};
    while (!stop.load()) {
        MemoryStream stream;
        static_cast<IComponent*>(&effect)->getState(&stream);
        stream.seek(0, IBStream::kIBSeekSet, nullptr);
        static_cast<IComponent*>(&effect)->setState(&stream);
        effect.getProgramName(0x70727374, static_cast<int32>(rounds % 150), name);
        ++rounds;
    }
    return rounds;
}

}  // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::max(0.1, std::atof(argv[1])) : 10.0;
    auto* effect = new VibrascendVst3;
    effect->initialize(nullptr);
    ProcessSetup setup{kRealtime, kSample32, kFrames, kRate};
    effect->setupProcessing(setup);
    effect->setActive(true);
    effect->setProcessing(true);

    std::atomic<bool> stop{false};
    AudioFigures audio;
    bool realTime = false;
    long uiRounds = 0;
    std::thread audioThread([&] {
        realTime = RaisePriority();
        audio = RunAudio(*effect, stop);
    });
    std::thread uiThread([&] { uiRounds = RunUi(*effect, stop); });
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop = true;
    audioThread.join();
    uiThread.join();

    const double longestUs = std::chrono::duration<double, std::micro>(audio.longest).count();
    std::printf("64-frame blocks at 48 kHz for %.1f s (deadline %.0f us), audio thread %s real-time priority\n", seconds,
                std::chrono::duration<double, std::micro>(kDeadline).count(), realTime ? "at" : "without");
    std::printf("  UI thread: %ld rounds of getState, setState and getProgramName\n", uiRounds);
    std::printf("  process calls:                 %ld\n", audio.calls);
    std::printf("  calls over the deadline:       %ld\n", audio.overDeadline);
    std::printf("  longest call:                  %.1f us\n", longestUs);
    std::printf("  locks taken inside process:    %ld\n", lock_wait_meter::LocksTaken());
    std::printf("  longest lock wait in process:  %.1f us\n", lock_wait_meter::LongestWaitNs() / 1000.0);

    effect->setProcessing(false);
    effect->setActive(false);
    effect->terminate();
    effect->release();
    return 0;
}
