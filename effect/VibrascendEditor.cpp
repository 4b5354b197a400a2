#include "effect/VibrascendEditor.h"

#include "controls/IDrawRect.h"
#include "controls/IDropDown.h"
#include "controls/IKnobMulti.h"
#include "controls/IKnobRotVal.h"
#include "controls/ITextControl.h"
#include "controls/IURLControl.h"
#include "effect/LfoBar.h"
#include "effect/LfoDisplay.h"
#include "effect/VibrascendParams.h"
#include "framework/IFxBase.h"
#include "graphics/ITextStyle.h"
#include "controls/IGraphics.h"
#include "platform/PlatformGraphics.h"

#include <cstring>

namespace {

enum ImageId {
    kBackground = 100,
    kKnob = 101,
    kSmallKnob = 102,
    kWaveStrip = 104,
    kTargetFace = 107,
    kTargetList = 108
};

const IArgb kWhite200{200, 255, 255, 255};
const IArgb kBarColour{120, 75, 255, 220};

constexpr int kTextGap = 5;
constexpr int kSweep = 300;
constexpr double kGearing = 4.0;
constexpr float kHoverDim = 0.2f;

struct KnobPlace {
    int param;
    int x;
    int y;
    int width;
};

}  // namespace

std::unique_ptr<IGraphics> BuildVibrascendEditor(IFxBase& effect, const LfoReadout& lfo1, const LfoReadout& lfo2)
{
    IFxBase* plug = &effect;
    std::unique_ptr<IGraphics> graphics = CreatePlatformGraphics(plug, kEditorWidth, kEditorHeight, 0);
    IGraphics& g = *graphics;
    g.AttachBackground(kBackground, "img/bg.png");

    const IBox& bar1 = kLfoBarAreas[0];
    const IBox& bar2 = kLfoBarAreas[1];
    auto rangeBar1 = std::make_unique<IDrawRect>(plug, bar1, kBarColour, bar1);
    auto rangeBar2 = std::make_unique<IDrawRect>(plug, bar2, kBarColour, bar2);
    IDrawRect* const bars[2] = {rangeBar1.get(), rangeBar2.get()};
    g.AttachControl(std::move(rangeBar1));
    g.AttachControl(std::move(rangeBar2));

    // "v1.10" is shown without its last character: "v1.1".
    char version[32];
    plug->FormatVersion(version, sizeof version);
    if (const size_t length = std::strlen(version))
        version[length - 1] = '\0';
    const ITextStyle versionStyle("Verdana", 13, IArgb{100, 255, 255, 255}, 0, ITextStyle::kAlignLeft);
    g.AttachControl(std::make_unique<ITextControl>(plug, IBox{45, 12, 95, 30}, versionStyle, version));

    g.AttachControl(std::make_unique<IURLControl>(plug, IBox{121, 15, 313, 62}, VIBRASCEND_PLUGIN_URL,
                                                  VIBRASCEND_MAKER_URL, nullptr));

    const ITextStyle bandStyle("Arial", 15, kWhite200, 0, ITextStyle::kAlignCentre);
    auto label1 = std::make_unique<ITextControl>(plug, IBox{85, 277, 169, 292}, bandStyle, "");
    auto label2 = std::make_unique<ITextControl>(plug, IBox{256, 277, 340, 292}, bandStyle, "");
    ITextControl* const labels[2] = {label1.get(), label2.get()};
    g.AttachControl(std::move(label1));
    g.AttachControl(std::move(label2));

    const IImage knob = g.LoadBitmap(kKnob, "img/knob.png", 1);
    const IImage smallKnob = g.LoadBitmap(kSmallKnob, "img/knob2.png", 1);
    const IImage targetFace = g.LoadBitmap(kTargetFace, "img/lfo_tg.png", 4);
    const IImage targetList = g.LoadBitmap(kTargetList, "img/lfo_tg_.png", 4);
    const IImage waves = g.LoadBitmap(kWaveStrip, "img/lfo_wave.png", 9);

    const ITextStyle valueStyle("Arial", 15, kWhite200, 0, ITextStyle::kAlignLeft);
    const auto rotKnob = [&](const KnobPlace& k, const IImage& image) {
        g.AttachControl(std::make_unique<IKnobRotVal>(plug, k.param, k.x, k.y, image, valueStyle, kTextGap, kSweep,
                                                      kGearing, k.width, 0, kHoverDim, true, 0));
    };
    const auto lfoSection = [&](const LfoParamIds& ids, int left, int centreX) {
        g.AttachControl(std::make_unique<IDropDown>(plug, ids.target, left, 108, targetFace, targetList, 1, 0));
        rotKnob({ids.freq, centreX, 174, 60}, smallKnob);
        g.AttachControl(std::make_unique<IKnobMulti>(plug, ids.wave, centreX + 66, 174, waves, valueStyle, kTextGap,
                                                     kGearing, 68, 0));
        rotKnob({ids.depth, centreX + 132, 174, 0}, smallKnob);
    };
    lfoSection(kLfoParamIds[0], 87, 48);
    lfoSection(kLfoParamIds[1], 293, 254);
    const VibrascendParam mainKnobs[] = {kSplitFreq, kDamping, kLowGain, kHighGain, kOutGain};
    for (int i = 0; i < 5; ++i)
        rotKnob({mainKnobs[i], 69 + 74 * i, 403, 0}, knob);

    g.AddFrameClient(std::make_unique<LfoDisplay>(lfo1, labels[0], bars[0], bar1));
    g.AddFrameClient(std::make_unique<LfoDisplay>(lfo2, labels[1], bars[1], bar2));
    g.SetMouseOverEnabled(true);
    return graphics;
}
