#include "Lv2UiHost.h"

#include <dlfcn.h>

#include <chrono>
#include <cstring>
#include <thread>

namespace lv2ui_test {

Lv2UiModule::Lv2UiModule(const std::string& path)
{
    library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        error = why ? why : "dlopen failed";
        return;
    }
    entry = reinterpret_cast<LV2UI_DescriptorFunction>(dlsym(library, "lv2ui_descriptor"));
    if (!entry)
        error = "no lv2ui_descriptor";
}

Lv2UiModule::~Lv2UiModule()
{
    if (library)
        dlclose(library);
}

const LV2UI_Descriptor* Lv2UiModule::Descriptor(std::uint32_t index) const { return entry ? entry(index) : nullptr; }

Lv2UiSession::Lv2UiSession(const LV2UI_Descriptor& d, const UiFeatures& features) : descriptor(d)
{
    featureRecords.reserve(3);
    if (features.parent != 0)
        featureRecords.push_back({LV2_UI__parent, reinterpret_cast<void*>(static_cast<std::uintptr_t>(features.parent))});
    if (features.resize) {
        resizeFeature = LV2UI_Resize{this, &Lv2UiSession::Resize};
        featureRecords.push_back({LV2_UI__resize, &resizeFeature});
    }
    if (features.touch) {
        touchFeature = LV2UI_Touch{this, &Lv2UiSession::Touch};
        featureRecords.push_back({LV2_UI__touch, &touchFeature});
    }
    for (const LV2_Feature& f : featureRecords)
        featureList.push_back(&f);
    featureList.push_back(nullptr);
    handle = descriptor.instantiate(&descriptor, "urn:test:plugin", "/nowhere/", &Lv2UiSession::Write, this, &widget,
                                    featureList.data());
    if (descriptor.extension_data) {
        idle = static_cast<const LV2UI_Idle_Interface*>(descriptor.extension_data(LV2_UI__idleInterface));
        show = static_cast<const LV2UI_Show_Interface*>(descriptor.extension_data(LV2_UI__showInterface));
    }
}

Lv2UiSession::~Lv2UiSession() { Cleanup(); }

void Lv2UiSession::Cleanup()
{
    if (handle)
        descriptor.cleanup(handle);
    handle = nullptr;
}

void Lv2UiSession::SendControl(std::uint32_t port, float value) { SendRaw(port, sizeof value, 0, &value); }

void Lv2UiSession::SendRaw(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer)
{
    if (handle && descriptor.port_event)
        descriptor.port_event(handle, port, size, format, buffer);
}

int Lv2UiSession::IdleFor(int ms)
{
    int result = 1;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        if (!handle || !idle)
            return 1;
        const size_t before = calls.size();
        result = idle->idle(handle);
        if (echo && calls.size() > before) {
            FlushEchoes();
            for (size_t i = before; i < calls.size(); ++i)
                if (calls[i].kind == HostCall::Kind::Write)
                    echoesDue.emplace_back(calls[i].port, calls[i].value);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
    } while (std::chrono::steady_clock::now() < end);
    return result;
}

void Lv2UiSession::FlushEchoes()
{
    const auto due = std::move(echoesDue);
    echoesDue.clear();
    for (const auto& [port, value] : due)
        SendControl(port, value);
}

int Lv2UiSession::Show() { return handle && show ? show->show(handle) : 1; }

int Lv2UiSession::Hide() { return handle && show ? show->hide(handle) : 1; }

std::vector<HostCall> Lv2UiSession::Calls(HostCall::Kind kind) const
{
    std::vector<HostCall> chosen;
    for (const HostCall& c : calls)
        if (c.kind == kind)
            chosen.push_back(c);
    return chosen;
}

void Lv2UiSession::Write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                         const void* buffer)
{
    auto* self = static_cast<Lv2UiSession*>(controller);
    HostCall call{HostCall::Kind::Write, port};
    // Anything but one float in format 0 is recorded as NaN, which no check accepts.
    call.value = __builtin_nanf("");
    if (format == 0 && size == sizeof(float) && buffer)
        std::memcpy(&call.value, buffer, sizeof call.value);
    self->calls.push_back(call);
}

void Lv2UiSession::Touch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed)
{
    static_cast<Lv2UiSession*>(handle)->calls.push_back({HostCall::Kind::Touch, port, grabbed ? 1.0f : 0.0f});
}

int Lv2UiSession::Resize(LV2UI_Feature_Handle handle, int width, int height)
{
    static_cast<Lv2UiSession*>(handle)->calls.push_back({HostCall::Kind::Resize, 0, 0.0f, width, height});
    return 0;
}

}  // namespace lv2ui_test
