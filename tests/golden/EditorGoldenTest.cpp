// Whole editor frames of the built bundle, drawn through its view's snapshot face, compared pixel
// for pixel with the committed pictures in this folder. Refresh them after an intended change of
// the artwork or the drawing with scripts/update-golden.sh.
#include "GoldenImage.h"

#include "framework/vst3/IEditorSnapshot.h"
#include "PluginInstance.h"
#include "Selection.h"

#include "pluginterfaces/gui/iplugview.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using namespace Steinberg;
using Snapshot = Vibrascend::IEditorSnapshot;
using vibrascend::host::PluginInstance;

struct Event {
    int32 kind;
    int32 x;
    int32 y;
    int32 dy;
};

class EditorFrame {
public:
    // Applies the preset (empty for none) and the settings as a host's parameter changes.
    EditorFrame(const std::string& preset, const std::vector<vibrascend::host::ParameterSetting>& settings)
        : plugin(VIBRASCEND_GOLDEN_BUNDLE, "golden-test")
    {
        const auto parameters = plugin.Parameters();
        vibrascend::host::ParameterChanges changes;
        if (!preset.empty()) {
            const auto choice = vibrascend::host::ChoosePreset(plugin.ProgramLists(), parameters, preset);
            changes.Add(choice.parameter, choice.normalized);
        }
        for (const auto& setting : settings) {
            const auto choice = vibrascend::host::ChooseParameterValue(plugin, parameters, setting);
            changes.Add(choice.id, choice.normalized);
        }
        plugin.StartProcessing(vibrascend::host::ProcessingSetup{});
        std::array<float, 1> silence{};
        const std::array<float*, 2> channels{silence.data(), silence.data()};
        plugin.Process(channels, channels, 0, &changes);
        plugin.StopProcessing();
        view = owned(plugin.EditController()->createView("editor"));
        snapshot = FUnknownPtr<Snapshot>(view);
    }

    golden::Picture Draw(const std::vector<Event>& events)
    {
        golden::Picture picture;
        if (!snapshot)
            return picture;
        for (const Event& event : events)
            EXPECT_EQ(snapshot->mouseEvent(event.kind, event.x, event.y, event.dy, 0), kResultOk);
        picture.pixels.resize(434 * 480);
        int32 width = 0, height = 0;
        EXPECT_EQ(snapshot->capture(picture.pixels.data(), int32(picture.pixels.size()), width, height), kResultOk);
        picture.width = width;
        picture.height = height;
        return picture;
    }

private:
    PluginInstance plugin;
    IPtr<IPlugView> view;
    IPtr<Snapshot> snapshot;
};

void ExpectFrame(const std::string& name, const std::string& preset,
                 const std::vector<vibrascend::host::ParameterSetting>& settings, const std::vector<Event>& events)
{
    EditorFrame frame(preset, settings);
    const golden::Picture picture = frame.Draw(events);
    ASSERT_EQ(picture.width, 434);
    ASSERT_EQ(picture.height, 480);
    EXPECT_EQ(golden::Compare(picture, VIBRASCEND_GOLDEN_DIR, VIBRASCEND_GOLDEN_OUT, name), "");
}

TEST(EditorGolden, SettingsFollowedFromTheHost)
{
    ExpectFrame("defaults", "", {}, {});
    ExpectFrame("preset73", "73", {}, {});
    ExpectFrame("lfo1-no-assign", "", {{"LFO1 Target", "No Assign"}}, {});
}

TEST(EditorGolden, PopupsAndHover)
{
    ExpectFrame("target-list-open", "", {}, {{Snapshot::kLeftDown, 100, 116, 0}, {Snapshot::kLeftUp, 100, 116, 0}});
    ExpectFrame("wave-value-menu", "", {}, {{Snapshot::kRightDown, 114, 174, 0}, {Snapshot::kRightUp, 114, 174, 0}});
    ExpectFrame("low-gain-hovered", "", {}, {{Snapshot::kMouseOver, 217, 403, 0}});
}

}  // namespace
