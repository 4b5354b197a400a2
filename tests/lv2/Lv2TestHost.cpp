#include "Lv2TestHost.h"

#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>


#include <cstring>
#include <stdexcept>

namespace lv2_test {

UridMap::UridMap()
{
    map.handle = this;
    map.map = [](LV2_URID_Map_Handle self, const char* uri) { return static_cast<UridMap*>(self)->Map(uri); };
    unmap.handle = this;
    unmap.unmap = [](LV2_URID_Unmap_Handle self, LV2_URID urid) {
        return static_cast<const UridMap*>(self)->Unmap(urid);
    };
    mapFeature = {LV2_URID__map, &map};
    unmapFeature = {LV2_URID__unmap, &unmap};
}

LV2_URID UridMap::Map(const char* uri)
{
    for (size_t i = 0; i < uris.size(); ++i)
        if (uris[i] == uri)
            return static_cast<LV2_URID>(i + 1);
    uris.emplace_back(uri);
    return static_cast<LV2_URID>(uris.size());
}

const char* UridMap::Unmap(LV2_URID urid) const
{
    return urid >= 1 && urid <= uris.size() ? uris[urid - 1].c_str() : nullptr;
}

Lv2Module::Lv2Module(const std::filesystem::path& binary) : bundle(binary.parent_path())
{
    std::string error;
    library = platform::SharedLibrary::Open(binary, error);
    if (!library)
        throw std::runtime_error("cannot open " + binary.string() + ": " + error);
    using Entry = const LV2_Descriptor* (*)(uint32_t);
    const auto entry = reinterpret_cast<Entry>(library->Symbol("lv2_descriptor"));
    if (!entry)
        throw std::runtime_error(binary.string() + " exports no lv2_descriptor");
    descriptor = entry(0);
    if (!descriptor || entry(1) != nullptr)
        throw std::runtime_error(binary.string() + " does not describe exactly one plug-in");
}

Lv2Module& BuiltModule()
{
    static Lv2Module module(VIBRASCEND_LV2_BINARY);
    return module;
}

Lv2Plugin::Lv2Plugin(double rate, const HostFeatures& offered, std::span<const double> params, Lv2Module& module)
    : descriptor(module.Descriptor())
{
    SetParams(params);
    Enabled() = 1.0f;
    if (offered.map) {
        features.push_back(uridMap.MapFeature());
        features.push_back(uridMap.UnmapFeature());
    }
    if (offered.maxBlockLength > 0) {
        maxBlock = offered.maxBlockLength;
        options[0] = {LV2_OPTIONS_INSTANCE, 0, uridMap.Map(LV2_BUF_SIZE__maxBlockLength), sizeof(int32_t),
                      uridMap.Map(LV2_ATOM__Int), &maxBlock};
        options[1] = {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr};
        optionsFeature = {LV2_OPTIONS__options, options.data()};
        boundedFeature = {LV2_BUF_SIZE__boundedBlockLength, nullptr};
        features.push_back(&optionsFeature);
        features.push_back(&boundedFeature);
    }
    features.push_back(nullptr);
    handle = descriptor->instantiate(descriptor, rate, module.Bundle().c_str(), features.data());
    if (!handle)
        return;
    for (uint32_t p = kFirstParamPort; p < kPortCount; ++p)
        descriptor->connect_port(handle, p, &controls[p - kFirstParamPort]);
}

Lv2Plugin::~Lv2Plugin()
{
    if (!handle)
        return;
    if (active)
        descriptor->deactivate(handle);
    descriptor->cleanup(handle);
}

void Lv2Plugin::SetParams(std::span<const double> plain)
{
    for (size_t i = 0; i < plain.size() && i < kNumParams; ++i)
        controls[i] = static_cast<float>(plain[i]);
}

void Lv2Plugin::Connect(uint32_t port, void* location) { descriptor->connect_port(handle, port, location); }

void Lv2Plugin::Activate()
{
    descriptor->activate(handle);
    active = true;
}

void Lv2Plugin::Deactivate()
{
    descriptor->deactivate(handle);
    active = false;
}

void Lv2Plugin::Run(const float* inL, const float* inR, float* outL, float* outR, uint32_t frames)
{
    descriptor->connect_port(handle, kInLeft, const_cast<float*>(inL));
    descriptor->connect_port(handle, kInRight, const_cast<float*>(inR));
    descriptor->connect_port(handle, kOutLeft, outL);
    descriptor->connect_port(handle, kOutRight, outR);
    descriptor->run(handle, frames);
}

const LV2_State_Interface* Lv2Plugin::State() const
{
    return static_cast<const LV2_State_Interface*>(descriptor->extension_data(LV2_STATE__interface));
}

std::string Lv2Plugin::StateKey() const { return std::string(descriptor->URI) + "#state"; }

namespace {

struct StoreTarget {
    UridMap* map;
    Lv2Plugin::Stored* stored;
};

struct RetrieveSource {
    LV2_URID key;
    uint32_t type;
    std::span<const uint8_t> bytes;
};

}  // namespace

Lv2Plugin::Stored Lv2Plugin::Save(const LV2_Feature* const* saveFeatures)
{
    Stored stored;
    StoreTarget target{&uridMap, &stored};
    const auto store = [](LV2_State_Handle h, uint32_t key, const void* value, size_t size, uint32_t type,
                          uint32_t flags) {
        auto* t = static_cast<StoreTarget*>(h);
        const auto* bytes = static_cast<const uint8_t*>(value);
        t->stored->bytes.assign(bytes, bytes + size);
        t->stored->type = type;
        t->stored->flags = flags;
        const char* uri = t->map->Unmap(key);
        t->stored->key = uri ? uri : "";
        return LV2_STATE_SUCCESS;
    };
    const LV2_Feature* none[] = {nullptr};
    stored.status = State()->save(handle, store, &target, LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE,
                                  saveFeatures ? saveFeatures : none);
    return stored;
}

LV2_State_Status Lv2Plugin::Restore(std::span<const uint8_t> bytes, uint32_t type, std::string key,
                                    const LV2_Feature* const* restoreFeatures)
{
    RetrieveSource source{uridMap.Map((key.empty() ? StateKey() : key).c_str()),
                          type ? type : uridMap.Map(LV2_ATOM__Chunk), bytes};
    const auto retrieve = [](LV2_State_Handle h, uint32_t key, size_t* size, uint32_t* valueType,
                             uint32_t* flags) -> const void* {
        auto* s = static_cast<RetrieveSource*>(h);
        if (key != s->key)
            return nullptr;
        *size = s->bytes.size();
        *valueType = s->type;
        *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
        return s->bytes.data();
    };
    const LV2_Feature* none[] = {nullptr};
    return State()->restore(handle, retrieve, &source, 0, restoreFeatures ? restoreFeatures : none);
}

}  // namespace lv2_test
