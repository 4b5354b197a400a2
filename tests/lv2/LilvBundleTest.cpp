// The built bundle as a host using lilv sees it: the plug-in found by its URI in
// build/Vibrascend.lv2, its 18 ports with their symbols and ranges, a factory preset applied,
// and a state saved and restored through lilv (its text form included).
#include "FormatRender.h"
#include "PluginInstance.h"

#include <lilv/lilv.h>
#include <lv2/atom/atom.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace lv2_test {
namespace {

// The parameter's name lowercased, each run of other characters one '_'.
std::string SymbolOf(const std::string& name)
{
    std::string symbol;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            symbol += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (symbol.empty() || symbol.back() != '_')
            symbol += '_';
    }
    return symbol;
}

class BundleWorld : public testing::Test {
protected:
    void SetUp() override
    {
        world = lilv_world_new();
        const std::string folder = std::string(VIBRASCEND_LV2_BUNDLE) + "/";
        LilvNode* bundle = lilv_new_file_uri(world, nullptr, folder.c_str());
        lilv_world_load_bundle(world, bundle);
        lilv_node_free(bundle);
        uri = lilv_new_uri(world, VIBRASCEND_LV2_URI);
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        ASSERT_NE(plugin, nullptr) << "no plug-in " << VIBRASCEND_LV2_URI << " in " << folder;
    }
    void TearDown() override
    {
        lilv_node_free(control);
        lilv_node_free(uri);
        lilv_world_free(world);
    }

    // One instance through lilv, its control ports on `controls` by symbol.
    struct Instance {
        LilvInstance* instance = nullptr;
        std::map<std::string, float> controls;
        uint32_t floatType = 0;
        ~Instance() { lilv_instance_free(instance); }
    };
    void Instantiate(Instance& i)
    {
        i.floatType = map.Map(LV2_ATOM__Float);
        i.instance = lilv_plugin_instantiate(plugin, kRate, features);
        ASSERT_NE(i.instance, nullptr);
        for (uint32_t p = 0; p < lilv_plugin_get_num_ports(plugin); ++p) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
            if (!lilv_port_is_a(plugin, port, controlClass()))
                continue;
            const std::string symbol = lilv_node_as_string(lilv_port_get_symbol(plugin, port));
            LilvNode* def = nullptr;
            lilv_port_get_range(plugin, port, &def, nullptr, nullptr);
            i.controls[symbol] = def ? lilv_node_as_float(def) : 0.0f;
            lilv_node_free(def);
        }
        for (auto& [symbol, value] : i.controls) {
            LilvNode* s = lilv_new_string(world, symbol.c_str());
            lilv_instance_connect_port(i.instance, lilv_port_get_index(plugin, lilv_plugin_get_port_by_symbol(plugin, s)),
                                       &value);
            lilv_node_free(s);
        }
    }
    void Run(Instance& i, const Stereo& input)
    {
        Stereo out{std::vector<float>(input.Frames()), std::vector<float>(input.Frames())};
        lilv_instance_connect_port(i.instance, kInLeft, const_cast<float*>(input.left.data()));
        lilv_instance_connect_port(i.instance, kInRight, const_cast<float*>(input.right.data()));
        lilv_instance_connect_port(i.instance, kOutLeft, out.left.data());
        lilv_instance_connect_port(i.instance, kOutRight, out.right.data());
        lilv_instance_run(i.instance, static_cast<uint32_t>(input.Frames()));
    }
    // The plug-in's own record, through its state interface.
    std::vector<uint8_t> Record(Instance& i)
    {
        const auto* state = static_cast<const LV2_State_Interface*>(
            lilv_instance_get_extension_data(i.instance, LV2_STATE__interface));
        std::vector<uint8_t> bytes;
        const auto store = [](LV2_State_Handle h, uint32_t, const void* value, size_t size, uint32_t, uint32_t) {
            const auto* b = static_cast<const uint8_t*>(value);
            static_cast<std::vector<uint8_t>*>(h)->assign(b, b + size);
            return LV2_STATE_SUCCESS;
        };
        state->save(lilv_instance_get_handle(i.instance), store, &bytes, 0, features);
        return bytes;
    }
    static void SetValue(const char* symbol, void* user, const void* value, uint32_t size, uint32_t)
    {
        if (size == sizeof(float))
            std::memcpy(&static_cast<Instance*>(user)->controls[symbol], value, sizeof(float));
    }
    static const void* GetValue(const char* symbol, void* user, uint32_t* size, uint32_t* type)
    {
        auto* self = static_cast<Instance*>(user);
        *size = sizeof(float);
        *type = self->floatType;
        return &self->controls.at(symbol);
    }
    const LilvNode* controlClass()
    {
        if (!control)
            control = lilv_new_uri(world, LV2_CORE__ControlPort);
        return control;
    }

    UridMap map;
    const LV2_Feature* features[2] = {map.MapFeature(), nullptr};
    LilvWorld* world = nullptr;
    LilvNode* uri = nullptr;
    LilvNode* control = nullptr;
    const LilvPlugin* plugin = nullptr;
};

TEST_F(BundleWorld, EighteenPortsWithTheirSymbolsAndRanges)
{
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), kPortCount);
    vibrascend::host::PluginInstance vst3(VIBRASCEND_VST3_BUNDLE, "lv2-test");
    const auto params = vst3.Parameters();
    std::vector<std::string> symbols = {"in_l", "in_r", "out_l", "out_r"};
    for (const auto& p : params)
        if (p.id < static_cast<Steinberg::Vst::ParamID>(kNumParams))
            symbols.push_back(SymbolOf(p.title));
    symbols.push_back("enabled");
    ASSERT_EQ(symbols.size(), kPortCount);

    LilvNode* audio = lilv_new_uri(world, LV2_CORE__AudioPort);
    LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
    LilvNode* output = lilv_new_uri(world, LV2_CORE__OutputPort);
    std::vector<float> mins(kPortCount), maxs(kPortCount), defs(kPortCount);
    lilv_plugin_get_port_ranges_float(plugin, mins.data(), maxs.data(), defs.data());
    for (uint32_t p = 0; p < kPortCount; ++p) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), symbols[p].c_str()) << p;
        EXPECT_TRUE(lilv_port_is_a(plugin, port, p < kFirstParamPort ? audio : controlClass())) << p;
        EXPECT_TRUE(lilv_port_is_a(plugin, port, p == kOutLeft || p == kOutRight ? output : input)) << p;
        if (p < kFirstParamPort || p == kEnabledPort)
            continue;
        const auto id = static_cast<Steinberg::Vst::ParamID>(p - kFirstParamPort);
        const auto& description = params[static_cast<size_t>(std::find_if(params.begin(), params.end(), [id](const auto& d) {
                                                                   return d.id == id;
                                                               }) - params.begin())];
        const auto near = [](double a, double b) { return std::fabs(a - b) <= 1e-4 * std::max(1.0, std::fabs(b)); };
        EXPECT_TRUE(near(mins[p], vst3.PlainValue(id, 0.0))) << symbols[p] << " min " << mins[p];
        EXPECT_TRUE(near(maxs[p], vst3.PlainValue(id, 1.0))) << symbols[p] << " max " << maxs[p];
        EXPECT_TRUE(near(defs[p], vst3.PlainValue(id, description.defaultNormalized)))
            << symbols[p] << " default " << defs[p];
    }
    EXPECT_EQ(mins[kEnabledPort], 0.0f);
    EXPECT_EQ(maxs[kEnabledPort], 1.0f);
    EXPECT_EQ(defs[kEnabledPort], 1.0f);
    lilv_node_free(audio);
    lilv_node_free(input);
    lilv_node_free(output);
}

TEST_F(BundleWorld, AFactoryPresetSetsThePresetsValues)
{
    const std::string presetUri = std::string(VIBRASCEND_LV2_URI) + "#preset-073";
    LilvNode* preset = lilv_new_uri(world, presetUri.c_str());
    lilv_world_load_resource(world, preset);
    LilvState* state = lilv_state_new_from_world(world, map.Lv2Map(), preset);
    lilv_node_free(preset);
    ASSERT_NE(state, nullptr) << presetUri;
    Instance i;
    Instantiate(i);
    lilv_instance_activate(i.instance);
    lilv_state_restore(state, i.instance, SetValue, &i, 0, features);
    lilv_state_free(state);
    Run(i, Sines(0.05));
    const Params expected = Vst3PresetValues(73);
    const auto record = Record(i);
    ASSERT_EQ(record.size(), kNumParams * 8u + 4u);
    for (int p = 0; p < kNumParams; ++p) {
        const LilvNode* s = lilv_port_get_symbol(plugin, lilv_plugin_get_port_by_index(plugin, kFirstParamPort + p));
        const float port = i.controls.at(lilv_node_as_string(s));
        EXPECT_EQ(port, static_cast<float>(expected[static_cast<size_t>(p)])) << lilv_node_as_string(s);
        double inForce = 0.0;
        std::memcpy(&inForce, record.data() + 8 * p, 8);
        EXPECT_EQ(static_cast<float>(inForce), static_cast<float>(expected[static_cast<size_t>(p)])) << p;
    }
    lilv_instance_deactivate(i.instance);
}

TEST_F(BundleWorld, StateSavedThroughLilvRestoresIntoAFreshInstance)
{
    Instance source;
    Instantiate(source);
    source.controls.at("split_freq") = 640.0f;
    source.controls.at("out_gain") = -7.5f;
    source.controls.at("lfo2_target") = 3.0f;
    source.controls.at("enabled") = 0.0f;
    lilv_instance_activate(source.instance);
    Run(source, Sines(0.05));
    LilvState* saved = lilv_state_new_from_instance(plugin, source.instance, map.Lv2Map(), nullptr, nullptr, nullptr,
                                                    nullptr, GetValue, &source, 0, features);
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(lilv_state_get_num_properties(saved), 1u);
    char* text = lilv_state_to_string(world, map.Lv2Map(), map.Lv2Unmap(), saved, "urn:vibrascend:test-state", nullptr);
    ASSERT_NE(text, nullptr);
    LilvState* parsed = lilv_state_new_from_string(world, map.Lv2Map(), text);
    lilv_free(text);
    ASSERT_NE(parsed, nullptr);

    Instance restored;
    Instantiate(restored);
    lilv_instance_activate(restored.instance);
    lilv_state_restore(parsed, restored.instance, SetValue, &restored, 0, features);
    Run(restored, Sines(0.05));
    EXPECT_EQ(Record(restored), Record(source));
    EXPECT_EQ(restored.controls, source.controls);
    lilv_state_free(parsed);
    lilv_state_free(saved);
    lilv_instance_deactivate(source.instance);
    lilv_instance_deactivate(restored.instance);
}

}  // namespace
}  // namespace lv2_test
