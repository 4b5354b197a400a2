#include "framework/lv2/IFxLV2UI.h"

#include "platform/linux/EmbedTarget.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace {

const void* FeatureData(const LV2_Feature* const* features, const char* uri)
{
    for (const LV2_Feature* const* f = features; f && *f; ++f)
        if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0)
            return (*f)->data;
    return nullptr;
}

}  // namespace

IFxLV2UI::IFxLV2UI(const IFxDeclaration& declaration)
    : IFxBase(declaration), held(static_cast<size_t>(std::max(declaration.numParams, 0)), false),
      unreflected(held.size())
{
}

// The window runs on this object's idle loop: it must close before the loop goes.
IFxLV2UI::~IFxLV2UI() { Close(); }

bool IFxLV2UI::Open(LV2UI_Write_Function write, LV2UI_Controller hostController, const LV2_Feature* const* features,
                    LV2UI_Widget* widget)
{
    const auto parent = reinterpret_cast<std::uintptr_t>(FeatureData(features, LV2_UI__parent));
    if (parent == 0 || !widget)
        return false;
    writeFunction = write;
    controller = hostController;
    resize = static_cast<const LV2UI_Resize*>(FeatureData(features, LV2_UI__resize));
    touch = static_cast<const LV2UI_Touch*>(FeatureData(features, LV2_UI__touch));
    TakeValuesInForce();
    IFxEditor* editor = EnsureEditor();
    if (!editor)
        return false;
    EmbedTarget target{static_cast<unsigned long>(parent), &idleLoop};
    void* window = editor->OpenWindow(&target);
    if (!window)
        return false;
    *widget = window;
    ResizeEditorWindow(editor->Width(), editor->Height());
    return true;
}

void IFxLV2UI::TakeValuesInForce()
{
    std::lock_guard<platform::RecursiveLock> guard(Lock());
    for (int i = 0; i < NumParams(); ++i)
        StageParamValue(i, GetParam(i)->Value());
    HandOverStaged();
}

void IFxLV2UI::Close()
{
    if (IFxEditor* editor = Editor())
        editor->CloseWindow();
    idleLoop.Stop();
}

void IFxLV2UI::PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer)
{
    if (format != 0 || size != sizeof(float) || !buffer || port < kFirstParamPort)
        return;
    const std::uint32_t slot = port - kFirstParamPort;
    if (slot >= static_cast<std::uint32_t>(NumParams()))
        return;
    const int index = static_cast<int>(slot);
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    if (!std::isfinite(value))
        return;
    // A reflection of a value written here: it and every older one have come back.
    std::vector<Written>& sent = unreflected[slot];
    const auto now = std::chrono::steady_clock::now();
    std::erase_if(sent, [now](const Written& w) { return now - w.when > kReflectionTime; });
    const auto echo = std::find_if(sent.begin(), sent.end(), [value](const Written& w) { return w.value == value; });
    if (echo != sent.end()) {
        sent.erase(sent.begin(), echo + 1);
        return;
    }
    if (held[slot])
        return;
    sent.clear();
    IParamDef* param = GetParam(index);
    const double plain = param->Conform(value);
    if (static_cast<float>(plain) == static_cast<float>(param->Value()))
        return;
    {
        std::lock_guard<platform::RecursiveLock> guard(Lock());
        StageParamValue(index, plain);
        HandOverStaged();
    }
    PublishHostChange(index, param->Normalized());
}

int IFxLV2UI::Idle()
{
    idleLoop.Idle();
    IFxEditor* editor = Editor();
    return editor && editor->GetWindow() ? 0 : 1;
}

int IFxLV2UI::Show(bool shown)
{
    IFxEditor* editor = Editor();
    return editor && editor->ShowWindow(shown) ? 0 : 1;
}

bool IFxLV2UI::Touch(int index, bool grabbed)
{
    if (index < 0 || index >= NumParams())
        return false;
    held[static_cast<size_t>(index)] = grabbed;
    if (!touch || !touch->touch)
        return false;
    touch->touch(touch->handle, kFirstParamPort + static_cast<std::uint32_t>(index), grabbed);
    return true;
}

bool IFxLV2UI::BeginParamEdit(int index) { return Touch(index, true); }

bool IFxLV2UI::EndParamEdit(int index) { return Touch(index, false); }

bool IFxLV2UI::PerformParamEdit(int index, double normalized)
{
    const IParamDef* param = GetParam(index);
    if (!param || !writeFunction || !std::isfinite(normalized))
        return false;
    const float plain = static_cast<float>(param->Conform(param->FromNormalized(std::clamp(normalized, 0.0, 1.0))));
    std::vector<Written>& sent = unreflected[static_cast<size_t>(index)];
    if (sent.size() >= kMaxUnreflected)
        sent.erase(sent.begin());
    sent.push_back({plain, std::chrono::steady_clock::now()});
    writeFunction(controller, kFirstParamPort + static_cast<std::uint32_t>(index), sizeof plain, 0, &plain);
    return true;
}

void IFxLV2UI::ResizeEditorWindow(int width, int height)
{
    if (resize && resize->ui_resize)
        resize->ui_resize(resize->handle, width, height);
}
