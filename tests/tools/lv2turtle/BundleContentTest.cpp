// The build's LV2 bundle read with lilv, as a host reads it, against the effect's parameter table
// and preset catalogue: every port, the UI and every preset with each of its values.
#include "effect/PresetCatalogue.h"
#include "effect/VibrascendParams.h"

#include <gtest/gtest.h>
#include <lilv/lilv.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kLv2 = "http://lv2plug.in/ns/lv2core#";
constexpr const char* kPset = "http://lv2plug.in/ns/ext/presets#";
constexpr const char* kUnits = "http://lv2plug.in/ns/extensions/units#";
constexpr const char* kRdfs = "http://www.w3.org/2000/01/rdf-schema#";
constexpr std::size_t kControlPorts = kNumVibrascendParams + 1;

class BundleContent : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        world = lilv_world_new();
        LilvNode* bundle = lilv_new_file_uri(world, nullptr, VIBRASCEND_LV2_BUNDLE "/");
        lilv_world_load_bundle(world, bundle);
        lilv_node_free(bundle);
        LilvNode* uri = lilv_new_uri(world, VIBRASCEND_PLUGIN_URL);
        plugin = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
    }
    static void TearDownTestSuite() { lilv_world_free(world); }

    void SetUp() override { ASSERT_NE(plugin, nullptr) << "no plug-in " VIBRASCEND_PLUGIN_URL " in " VIBRASCEND_LV2_BUNDLE; }

    // A node freed at the end of the test.
    const LilvNode* Uri(const std::string& prefix, const char* name)
    {
        nodes.emplace_back(lilv_new_uri(world, (prefix + name).c_str()), lilv_node_free);
        return nodes.back().get();
    }
    const LilvNode* Keep(LilvNode* node)
    {
        nodes.emplace_back(node, lilv_node_free);
        return node;
    }
    const LilvPort* Port(uint32_t index) { return lilv_plugin_get_port_by_index(plugin, index); }
    bool Has(const LilvPort* port, const char* property) { return lilv_port_has_property(plugin, port, Uri(kLv2, property)); }

    static LilvWorld* world;
    static const LilvPlugin* plugin;
    std::vector<std::unique_ptr<LilvNode, void (*)(LilvNode*)>> nodes;
};

LilvWorld* BundleContent::world = nullptr;
const LilvPlugin* BundleContent::plugin = nullptr;

TEST_F(BundleContent, IdentityFeaturesAndUi)
{
    EXPECT_STREQ(lilv_node_as_string(Keep(lilv_plugin_get_name(plugin))), "Vibrascend");
    EXPECT_STREQ(lilv_node_as_string(Keep(lilv_plugin_get_author_name(plugin))), "Tolmira");
    EXPECT_TRUE(lilv_world_ask(world, lilv_plugin_get_uri(plugin),
                               Uri("http://www.w3.org/1999/02/22-rdf-syntax-ns#", "type"), Uri(kLv2, "ModulatorPlugin")));
    EXPECT_EQ(lilv_nodes_size(lilv_plugin_get_required_features(plugin)), 0u);
    LilvNodes* optional = lilv_plugin_get_optional_features(plugin);
    for (const char* feature :
         {"http://lv2plug.in/ns/lv2core#hardRTCapable", "http://lv2plug.in/ns/ext/urid#map",
          "http://lv2plug.in/ns/ext/buf-size#boundedBlockLength", "http://lv2plug.in/ns/ext/options#options"})
        EXPECT_TRUE(lilv_nodes_contains(optional, Keep(lilv_new_uri(world, feature)))) << feature;
    lilv_nodes_free(optional);
    EXPECT_TRUE(lilv_plugin_has_extension_data(plugin, Keep(lilv_new_uri(world, "http://lv2plug.in/ns/ext/state#interface"))));
    const std::string library = lilv_node_as_uri(lilv_plugin_get_library_uri(plugin));
    EXPECT_EQ(library.substr(library.rfind('/') + 1), "Vibrascend.so");

    LilvUIs* uis = lilv_plugin_get_uis(plugin);
    ASSERT_EQ(lilv_uis_size(uis), 1u);
    const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
    EXPECT_STREQ(lilv_node_as_uri(lilv_ui_get_uri(ui)), VIBRASCEND_PLUGIN_URL "#ui");
    EXPECT_TRUE(lilv_ui_is_a(ui, Keep(lilv_new_uri(world, "http://lv2plug.in/ns/extensions/ui#X11UI"))));
    EXPECT_STREQ(lilv_node_as_string(lilv_ui_get_binary_uri(ui)), lilv_node_as_string(lilv_plugin_get_library_uri(plugin)));
    lilv_uis_free(uis);
}

// Hosts discover bundles from their manifests alone, loading the files they point to on demand.
TEST(BundleManifest, NamesThePluginItsUiAndEveryPresetWithTheFilesDescribingThem)
{
    LilvWorld* world = lilv_world_new();
    LilvNode* bundle = lilv_new_file_uri(world, nullptr, VIBRASCEND_LV2_BUNDLE "/");
    lilv_world_load_bundle(world, bundle);
    const auto uri = [&](const std::string& text) { return lilv_new_uri(world, text.c_str()); };
    const auto ask = [&](const std::string& s, const std::string& p, const std::string& o) {
        LilvNode *subject = uri(s), *predicate = uri(p), *object = uri(o);
        const bool found = lilv_world_ask(world, subject, predicate, object);
        lilv_node_free(subject), lilv_node_free(predicate), lilv_node_free(object);
        return found;
    };
    const std::string type = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
    const std::string seeAlso = std::string(kRdfs) + "seeAlso";
    const std::string folder = lilv_node_as_uri(bundle);
    const std::string plugin = VIBRASCEND_PLUGIN_URL;
    EXPECT_TRUE(ask(plugin, type, std::string(kLv2) + "Plugin"));
    EXPECT_TRUE(ask(plugin, std::string(kLv2) + "binary", folder + "Vibrascend.so"));
    EXPECT_TRUE(ask(plugin, seeAlso, folder + "Vibrascend.ttl"));
    EXPECT_TRUE(ask(plugin + "#ui", type, "http://lv2plug.in/ns/extensions/ui#X11UI"));
    EXPECT_TRUE(ask(plugin + "#ui", "http://lv2plug.in/ns/extensions/ui#binary", folder + "Vibrascend.so"));
    EXPECT_TRUE(ask(plugin + "#ui", seeAlso, folder + "Vibrascend.ttl"));
    for (int slot = 0; slot <= static_cast<int>(kCataloguePresetCount); ++slot) {
        char fragment[32];
        std::snprintf(fragment, sizeof fragment, "#preset-%03d", slot);
        EXPECT_TRUE(ask(plugin + fragment, type, std::string(kPset) + "Preset")) << fragment;
        EXPECT_TRUE(ask(plugin + fragment, std::string(kLv2) + "appliesTo", plugin)) << fragment;
        EXPECT_TRUE(ask(plugin + fragment, seeAlso, folder + "presets.ttl")) << fragment;
    }
    lilv_node_free(bundle);
    lilv_world_free(world);
}

TEST_F(BundleContent, AudioPortsThenOneControlPortPerParameterThenEnabled)
{
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), 4 + kControlPorts);
    const char* audio[][2] = {{"in_l", "In L"}, {"in_r", "In R"}, {"out_l", "Out L"}, {"out_r", "Out R"}};
    for (uint32_t i = 0; i < 4; ++i) {
        const LilvPort* port = Port(i);
        EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), audio[i][0]);
        EXPECT_STREQ(lilv_node_as_string(Keep(lilv_port_get_name(plugin, port))), audio[i][1]);
        EXPECT_TRUE(lilv_port_is_a(plugin, port, Uri(kLv2, "AudioPort")));
        EXPECT_TRUE(lilv_port_is_a(plugin, port, Uri(kLv2, i < 2 ? "InputPort" : "OutputPort")));
    }
    const std::map<std::string, std::string> symbols = {
        {"Split Freq", "split_freq"},   {"Damping", "damping"},         {"Low Gain", "low_gain"},
        {"High Gain", "high_gain"},     {"Out Gain", "out_gain"},       {"LFO1 Target", "lfo1_target"},
        {"LFO1 Wave", "lfo1_wave"},     {"LFO1 Freq", "lfo1_freq"},     {"LFO1 Depth", "lfo1_depth"},
        {"LFO2 Target", "lfo2_target"}, {"LFO2 Wave", "lfo2_wave"},     {"LFO2 Freq", "lfo2_freq"},
        {"LFO2 Depth", "lfo2_depth"}};
    const std::map<std::string, std::string> units = {{"Hz", "hz"}, {"%", "pc"}, {"dB", "db"}};
    for (const VibrascendParamRow& row : VibrascendParamTable()) {
        const LilvPort* port = Port(4 + static_cast<uint32_t>(row.id));
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(lilv_node_as_string(Keep(lilv_port_get_name(plugin, port))), row.name);
        EXPECT_EQ(lilv_node_as_string(lilv_port_get_symbol(plugin, port)), symbols.at(row.name));
        EXPECT_TRUE(lilv_port_is_a(plugin, port, Uri(kLv2, "ControlPort")));
        EXPECT_TRUE(lilv_port_is_a(plugin, port, Uri(kLv2, "InputPort")));
        LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
        lilv_port_get_range(plugin, port, &def, &min, &max);
        ASSERT_TRUE(def && min && max);
        EXPECT_EQ(lilv_node_as_float(Keep(def)), static_cast<float>(row.def));
        EXPECT_EQ(lilv_node_as_float(Keep(min)), static_cast<float>(row.min));
        EXPECT_EQ(lilv_node_as_float(Keep(max)), static_cast<float>(row.kind == kParamEnum ? row.texts.size() - 1 : row.max));
        EXPECT_EQ(Has(port, "integer"), row.kind != kParamDouble);
        EXPECT_EQ(Has(port, "enumeration"), row.kind == kParamEnum);
        const bool logarithmic = row.id == kSplitFreq || row.id == kLfo1Freq || row.id == kLfo2Freq;
        EXPECT_EQ(lilv_port_has_property(plugin, port, Uri("http://lv2plug.in/ns/ext/port-props#", "logarithmic")),
                  logarithmic);
        LilvNodes* unit = lilv_port_get_value(plugin, port, Uri(kUnits, "unit"));
        if (*row.unit) {
            ASSERT_EQ(lilv_nodes_size(unit), 1u);
            EXPECT_EQ(lilv_node_as_uri(lilv_nodes_get_first(unit)), kUnits + units.at(row.unit));
        } else {
            EXPECT_EQ(lilv_nodes_size(unit), 0u);
        }
        lilv_nodes_free(unit);
        LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
        std::map<int, std::string> labels;
        LILV_FOREACH (scale_points, i, points) {
            const LilvScalePoint* point = lilv_scale_points_get(points, i);
            labels[static_cast<int>(lilv_node_as_float(lilv_scale_point_get_value(point)))] =
                lilv_node_as_string(lilv_scale_point_get_label(point));
        }
        lilv_scale_points_free(points);
        ASSERT_EQ(labels.size(), row.texts.size());
        for (std::size_t v = 0; v < row.texts.size(); ++v)
            EXPECT_EQ(labels[static_cast<int>(v)], row.texts[v]);
    }
    const LilvPort* enabled = Port(4 + kNumVibrascendParams);
    EXPECT_STREQ(lilv_node_as_string(lilv_port_get_symbol(plugin, enabled)), "enabled");
    EXPECT_TRUE(Has(enabled, "toggled") && Has(enabled, "integer"));
    EXPECT_EQ(lilv_plugin_get_port_by_designation(plugin, Uri(kLv2, "InputPort"), Uri(kLv2, "enabled")), enabled);
    LilvNode *def = nullptr, *min = nullptr, *max = nullptr;
    lilv_port_get_range(plugin, enabled, &def, &min, &max);
    ASSERT_TRUE(def && min && max);
    EXPECT_EQ(lilv_node_as_float(Keep(def)), 1.0f);
    EXPECT_EQ(lilv_node_as_float(Keep(min)), 0.0f);
    EXPECT_EQ(lilv_node_as_float(Keep(max)), 1.0f);
}

TEST_F(BundleContent, EveryFactoryPresetOnceWithEveryPortValue)
{
    // Preset 0 holds the defaults; every catalogue preset the defaults but for LFO 1's rate and a
    // depth of 15 %.
    std::vector<std::pair<std::string, VibrascendValues>> expected{{"---- default ----", VibrascendDefaults()}};
    for (const CataloguePreset& preset : PresetCatalogue()) {
        VibrascendValues values = VibrascendDefaults();
        values[kLfo1Freq] = preset.hz;
        values[kLfo1Depth] = 15.0;
        expected.emplace_back(preset.name, values);
    }
    std::vector<std::string> symbols;
    for (uint32_t i = 0; i < kControlPorts; ++i)
        symbols.push_back(lilv_node_as_string(lilv_port_get_symbol(plugin, Port(4 + i))));

    LilvNodes* presets = lilv_plugin_get_related(plugin, Uri(kPset, "Preset"));
    ASSERT_EQ(lilv_nodes_size(presets), expected.size());
    std::map<std::string, const LilvNode*> byUri;
    LILV_FOREACH (nodes, i, presets) {
        const LilvNode* preset = lilv_nodes_get(presets, i);
        byUri[lilv_node_as_uri(preset)] = preset;
    }
    for (std::size_t slot = 0; slot < expected.size(); ++slot) {
        char fragment[32];
        std::snprintf(fragment, sizeof fragment, "#preset-%03zu", slot);
        const std::string uri = std::string(VIBRASCEND_PLUGIN_URL) + fragment;
        SCOPED_TRACE(uri);
        ASSERT_EQ(byUri.count(uri), 1u);
        const LilvNode* preset = byUri[uri];
        lilv_world_load_resource(world, preset);
        LilvNodes* labels = lilv_world_find_nodes(world, preset, Uri(kRdfs, "label"), nullptr);
        ASSERT_EQ(lilv_nodes_size(labels), 1u);
        EXPECT_EQ(lilv_node_as_string(lilv_nodes_get_first(labels)), expected[slot].first);
        lilv_nodes_free(labels);
        EXPECT_TRUE(lilv_world_ask(world, preset, Uri(kLv2, "appliesTo"), lilv_plugin_get_uri(plugin)));

        std::map<std::string, std::vector<double>> values;
        LilvNodes* ports = lilv_world_find_nodes(world, preset, Uri(kLv2, "port"), nullptr);
        LILV_FOREACH (nodes, p, ports) {
            const LilvNode* port = lilv_nodes_get(ports, p);
            LilvNode* symbol = lilv_world_get(world, port, Uri(kLv2, "symbol"), nullptr);
            LilvNode* value = lilv_world_get(world, port, Uri(kPset, "value"), nullptr);
            ASSERT_TRUE(symbol && value);
            // Read as the full double: the text must round-trip, not merely match as a float.
            values[lilv_node_as_string(symbol)].push_back(std::strtod(lilv_node_as_string(value), nullptr));
            lilv_node_free(symbol);
            lilv_node_free(value);
        }
        lilv_nodes_free(ports);
        ASSERT_EQ(values.size(), kControlPorts);
        for (std::size_t i = 0; i < kControlPorts; ++i) {
            ASSERT_EQ(values[symbols[i]].size(), 1u) << symbols[i];
            const double want = i < kNumVibrascendParams ? expected[slot].second[i] : 1.0;
            EXPECT_EQ(values[symbols[i]][0], want) << symbols[i];
        }
    }
    lilv_nodes_free(presets);
}

}  // namespace
