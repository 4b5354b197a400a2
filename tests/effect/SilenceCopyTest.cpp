// The silent fall-back's copy in every register width this processor has, float and double: the
// count of silent frames from the start and the copy of them agree with a frame-by-frame scan for
// loud samples at every position, NaN and infinities, samples right at the threshold, odd lengths
// and copies in place.
#include "effect/SilenceCopy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double kThreshold = 1e-6;

template <class T>
int SilentFramesByHand(const std::vector<T>& l, const std::vector<T>& r, int frames)
{
    int n = 0;
    while (n < frames && !(std::fabs(l[n]) > kThreshold) && !(std::fabs(r[n]) > kThreshold))
        ++n;
    return n;
}

std::vector<VectorRegisters> RegistersHere()
{
    std::vector<VectorRegisters> here;
    for (VectorRegisters r : {VectorRegisters::Sse2, VectorRegisters::Avx2, VectorRegisters::Avx512})
        if (VectorRegistersAvailable(r))
            here.push_back(r);
    return here;
}

// Quiet noise below the threshold, with `loud` placed at `at` on one channel (none when at < 0).
template <class T>
void Fill(std::vector<T>& l, std::vector<T>& r, int at, bool right, T loud)
{
    for (size_t i = 0; i < l.size(); ++i) {
        l[i] = static_cast<T>(((i * 37) % 19) * 4e-8 - 3.6e-7);
        r[i] = static_cast<T>(((i * 11) % 23) * -3e-8 + 3e-7);
    }
    if (at >= 0)
        (right ? r : l)[static_cast<size_t>(at)] = loud;
}

template <class T>
void CheckEveryPosition()
{
    const T nan = std::numeric_limits<T>::quiet_NaN();
    const T inf = std::numeric_limits<T>::infinity();
    const T justAbove = static_cast<T>(std::nextafter(static_cast<T>(kThreshold), static_cast<T>(1)));
    for (VectorRegisters registers : RegistersHere())
        for (int frames : {0, 1, 15, 16, 17, 63, 64, 65, 200, 512}) {
            for (int at = -1; at < frames; ++at)
                for (T loud : {T(0.5), T(-0.25), inf, -inf, justAbove, nan}) {
                    std::vector<T> l(frames + 1), r(frames + 1);
                    Fill(l, r, at, at % 2 == 1, loud);
                    for (bool inPlace : {false, true}) {
                        std::vector<T> outL(frames + 1, T(9)), outR(frames + 1, T(9));
                        std::vector<T> inL = l, inR = r;
                        T* oL = inPlace ? inL.data() : outL.data();
                        T* oR = inPlace ? inR.data() : outR.data();
                        const int n =
                            silence_copy::CopySilentRun(registers, inL.data(), inR.data(), oL, oR, frames, kThreshold);
                        ASSERT_EQ(n, SilentFramesByHand(l, r, frames))
                            << "registers " << static_cast<int>(registers) << " frames " << frames << " at " << at
                            << " loud " << loud;
                        for (int i = 0; i < n; ++i) {
                            ASSERT_EQ(std::memcmp(&oL[i], &l[i], sizeof(T)), 0) << i;
                            ASSERT_EQ(std::memcmp(&oR[i], &r[i], sizeof(T)), 0) << i;
                        }
                        EXPECT_EQ(outL[frames], T(9)) << "wrote past the frames";
                        EXPECT_EQ(outR[frames], T(9)) << "wrote past the frames";
                    }
                }
        }
}

}  // namespace

TEST(SilenceCopy, FloatCountsAndCopiesWhatAFrameByFrameScanFinds) { CheckEveryPosition<float>(); }

TEST(SilenceCopy, DoubleCountsAndCopiesWhatAFrameByFrameScanFinds) { CheckEveryPosition<double>(); }

TEST(SilenceCopy, SampleExactlyAtTheThresholdIsSilent)
{
    for (VectorRegisters registers : RegistersHere()) {
        std::vector<double> l(64, kThreshold), r(64, -kThreshold), out(64);
        EXPECT_EQ(silence_copy::CopySilentRun(registers, l.data(), r.data(), out.data(), out.data(), 64, kThreshold),
                  64);
        // A float at the threshold rounds below or above it; it is silent exactly when its value is.
        const float f = static_cast<float>(kThreshold);
        std::vector<float> fl(64, f), fr(64, 0.0f), fo(64);
        const int want = static_cast<double>(f) > kThreshold ? 0 : 64;
        EXPECT_EQ(silence_copy::CopySilentRun(registers, fl.data(), fr.data(), fo.data(), fo.data(), 64, kThreshold),
                  want);
    }
}

TEST(SilenceCopy, NaNDoesNotHideALoudSampleNearIt)
{
    for (VectorRegisters registers : RegistersHere())
        for (int first : {0, 3, 16, 40})
            for (int gap : {1, 2, 4, 8, 16, 32})
                for (bool nanFirst : {true, false}) {
                    std::vector<double> l(128, 0.0), r(128, 0.0), out(128);
                    const int loudAt = nanFirst ? first + gap : first;
                    l[static_cast<size_t>(nanFirst ? first : first + gap)] = std::numeric_limits<double>::quiet_NaN();
                    l[static_cast<size_t>(loudAt)] = 0.5;
                    EXPECT_EQ(silence_copy::CopySilentRun(registers, l.data(), r.data(), out.data(), out.data(), 128,
                                                          kThreshold),
                              loudAt)
                        << first << " " << gap << " " << nanFirst;
                }
}
