// A small LV2 host for the tests: opens the module's binary, takes its plug-in through the
// exported lv2_descriptor, and drives one instance over plain buffers with the features a test
// chooses (urid:map, a maximum block length, or none at all, as the command-line LV2 hosts give).
#pragma once

#include "platform/SharedLibrary.h"

#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace lv2_test {

// Port indices the plug-in declares.
constexpr uint32_t kInLeft = 0;
constexpr uint32_t kInRight = 1;
constexpr uint32_t kOutLeft = 2;
constexpr uint32_t kOutRight = 3;
constexpr uint32_t kFirstParamPort = 4;
constexpr int kNumParams = 13;
constexpr uint32_t kEnabledPort = kFirstParamPort + kNumParams;
constexpr uint32_t kPortCount = kEnabledPort + 1;

// urid:map and urid:unmap over one table of URIs.
class UridMap {
public:
    UridMap();
    LV2_URID Map(const char* uri);
    const char* Unmap(LV2_URID urid) const;
    LV2_URID_Map* Lv2Map() { return &map; }
    LV2_URID_Unmap* Lv2Unmap() { return &unmap; }
    const LV2_Feature* MapFeature() const { return &mapFeature; }
    const LV2_Feature* UnmapFeature() const { return &unmapFeature; }

private:
    std::vector<std::string> uris;
    LV2_URID_Map map{};
    LV2_URID_Unmap unmap{};
    LV2_Feature mapFeature{};
    LV2_Feature unmapFeature{};
};

// The module's binary, open for the test program's lifetime.
class Lv2Module {
public:
    explicit Lv2Module(const std::filesystem::path& binary);
    const LV2_Descriptor* Descriptor() const { return descriptor; }
    const std::filesystem::path& Bundle() const { return bundle; }

private:
    std::unique_ptr<platform::SharedLibrary> library;
    const LV2_Descriptor* descriptor = nullptr;
    std::filesystem::path bundle;
};

// The built module, loaded once.
Lv2Module& BuiltModule();

// What the host offers at instantiation.
struct HostFeatures {
    bool map = true;
    int maxBlockLength = 0;  // stated through options (with bufsz:boundedBlockLength) when > 0
};

// One plug-in instance. Control values are the host's port buffers: every control port is
// connected to them from the start (the parameters at `params`, plain values in index order,
// `enabled` at 1).
class Lv2Plugin {
public:
    Lv2Plugin(double rate, const HostFeatures& features, std::span<const double> params,
              Lv2Module& module = BuiltModule());
    ~Lv2Plugin();
    Lv2Plugin(const Lv2Plugin&) = delete;
    Lv2Plugin& operator=(const Lv2Plugin&) = delete;

    bool Valid() const { return handle != nullptr; }
    const LV2_Descriptor& Descriptor() const { return *descriptor; }
    LV2_Handle Handle() const { return handle; }
    UridMap& Map() { return uridMap; }

    float& Control(int param) { return controls[static_cast<size_t>(param)]; }
    float& Enabled() { return controls[kNumParams]; }
    void SetParams(std::span<const double> plain);
    // Connects a port to `location` (null disconnects it).
    void Connect(uint32_t port, void* location);

    void Activate();
    void Deactivate();
    // Connects the audio ports to the buffers (a null one disconnected) and runs one block.
    void Run(const float* inL, const float* inR, float* outL, float* outR, uint32_t frames);

    const LV2_State_Interface* State() const;
    // The state the plug-in stores; the status it answered in `status`.
    struct Stored {
        LV2_State_Status status = LV2_STATE_ERR_UNKNOWN;
        std::vector<uint8_t> bytes;
        uint32_t type = 0;
        uint32_t flags = 0;
        std::string key;
    };
    Stored Save(const LV2_Feature* const* features = nullptr);
    // Offers `bytes` as the value of `key` (the plug-in's state key when empty) with the given
    // type (atom:Chunk when 0).
    LV2_State_Status Restore(std::span<const uint8_t> bytes, uint32_t type = 0, std::string key = {},
                             const LV2_Feature* const* features = nullptr);

    std::string StateKey() const;

private:
    const LV2_Descriptor* descriptor;
    UridMap uridMap;
    int32_t maxBlock = 0;
    std::array<LV2_Options_Option, 2> options{};
    LV2_Feature optionsFeature{};
    LV2_Feature boundedFeature{};
    std::vector<const LV2_Feature*> features;
    LV2_Handle handle = nullptr;
    bool active = false;
    std::array<float, kNumParams + 1> controls{};
};

}  // namespace lv2_test
