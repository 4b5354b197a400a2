// A small LV2 UI host for the tests: loads the built bundle's binary, finds lv2ui_descriptor and
// runs one UI of it in a parent window, offering ui:parent, ui:resize and (optionally) ui:touch,
// and records what the UI tells the host: port writes, touches and sizes, in order.
#pragma once

#include "lv2/core/lv2.h"
#include "lv2/ui/ui.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lv2ui_test {

// The binary of a built LV2 bundle, loaded for the length of the object.
class Lv2UiModule {
public:
    explicit Lv2UiModule(const std::string& path);
    ~Lv2UiModule();
    Lv2UiModule(const Lv2UiModule&) = delete;
    Lv2UiModule& operator=(const Lv2UiModule&) = delete;

    // The UI at `index`, null where the module has none (or no entry point).
    const LV2UI_Descriptor* Descriptor(std::uint32_t index) const;
    std::string Error() const { return error; }

private:
    void* library = nullptr;
    LV2UI_DescriptorFunction entry = nullptr;
    std::string error;
};

// What the UI told the host, in the order it did.
struct HostCall {
    enum class Kind { Write, Touch, Resize };
    Kind kind;
    std::uint32_t port = 0;
    float value = 0.0f;  // written value; 1 for a grab, 0 for a release
    int width = 0;
    int height = 0;
};

struct UiFeatures {
    unsigned long parent = 0;  // 0: ui:parent is not offered
    bool resize = true;
    bool touch = true;
};

// One UI instance: instantiated in the constructor, cleaned up by the destructor (or Cleanup).
class Lv2UiSession {
public:
    Lv2UiSession(const LV2UI_Descriptor& descriptor, const UiFeatures& features);
    ~Lv2UiSession();
    Lv2UiSession(const Lv2UiSession&) = delete;
    Lv2UiSession& operator=(const Lv2UiSession&) = delete;

    bool Instantiated() const { return handle != nullptr; }
    unsigned long Widget() const { return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(widget)); }
    // One port event of a control value (format 0) or of raw bytes in another format.
    void SendControl(std::uint32_t port, float value);
    void SendRaw(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer);
    // Calls idle every few milliseconds for `ms`; answers the last idle's result. When echoing,
    // the values the UI wrote come back to it as port events a step late: after the next idle
    // call in which it told the host something again (as from a host that reflects its ports
    // after a delay, while the user goes on dragging), or at FlushEchoes.
    int IdleFor(int ms);
    void FlushEchoes();
    int Show();
    int Hide();
    void Cleanup();
    void EchoWrites(bool on) { echo = on; }

    const std::vector<HostCall>& Calls() const { return calls; }
    std::vector<HostCall> Calls(HostCall::Kind kind) const;

private:
    static void Write(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size, std::uint32_t format,
                      const void* buffer);
    static void Touch(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed);
    static int Resize(LV2UI_Feature_Handle handle, int width, int height);

    const LV2UI_Descriptor& descriptor;
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    const LV2UI_Show_Interface* show = nullptr;
    LV2UI_Resize resizeFeature{};
    LV2UI_Touch touchFeature{};
    std::vector<LV2_Feature> featureRecords;
    std::vector<const LV2_Feature*> featureList;
    std::vector<HostCall> calls;
    bool echo = false;
    std::vector<std::pair<std::uint32_t, float>> echoesDue;  // written, not yet reflected
};

}  // namespace lv2ui_test
