#include "EditorFixture.h"

#include "graphics/PIX_SysBitmap.h"

#include <cstdio>

namespace {

constexpr IFxDeclaration kDeclaration{4, "2-2", 1, "Editor", "", "Maker", 0x00010100, 0x45646974, 0x4D616B72, 0};

}  // namespace

EditorPlugin::EditorPlugin() : IFxBase(kDeclaration), IFxVST3(kDeclaration)
{
    GetParam(0)->DefineDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
    GetParam(1)->DefineInt("Steps", 5, 0, 10, "");
    GetParam(2)->DefineEnum("Target", 1, 4, "");
    GetParam(2)->AddValueText(0, "No Assign");
    GetParam(2)->AddValueText(1, "Out Gain");
    GetParam(2)->AddValueText(2, "Low Gain");
    GetParam(2)->AddValueText(3, "High Gain");
    GetParam(3)->DefineEnum("Bare", 0, 3, "");
}

void EditorPlugin::ParamChanged(int) { processingEnabled = true; }

bool RecordingGraphics::PresentRegion(const IBox& rect)
{
    presented.push_back(rect);
    return true;
}

void RecordingGraphics::OpenValueEntry(IControl* control, const IParamDef*, bool) { valueEntries.push_back(control); }

ProbeControl::ProbeControl(IFxBase* plug, int paramIdx, const IBox& area, IArgb fill, std::string* record,
                           const char* label)
    : IControl(plug, paramIdx), colour(fill), log(record), name(label)
{
    rect = area;
    targetRect = area;
}

ProbeControl::~ProbeControl()
{
    if (log)
        *log += "~" + name + " ";
}

void ProbeControl::OnMouseDown(int x, int y, const IMouseState& mod)
{
    if (log)
        *log += name + ".down ";
    IControl::OnMouseDown(x, y, mod);
}

void ProbeControl::OnMouseUp(int, int, const IMouseState&)
{
    if (log)
        *log += name + ".up ";
}

void ProbeControl::OnMouseDrag(int, int, int dX, int dY, const IMouseState&)
{
    if (log)
        *log += name + ".drag(" + std::to_string(dX) + "," + std::to_string(dY) + ") ";
    value -= dY / 100.0;
    SetDirty(true);
}

void ProbeControl::OnMouseDblClick(int x, int y, const IMouseState& mod)
{
    if (log)
        *log += name + ".dbl ";
    IControl::OnMouseDblClick(x, y, mod);
}

void ProbeControl::OnMouseOver(int, int, const IMouseState&)
{
    if (log)
        *log += name + ".over ";
}

void ProbeControl::OnMouseOut()
{
    if (log)
        *log += name + ".out ";
}

void ProbeControl::OnKeyDown(int, int, int key)
{
    if (log)
        *log += name + ".key" + std::to_string(key) + " ";
}

void ProbeControl::OnPopupChoice(const char* text, int index)
{
    if (log)
        *log += name + ".choice(" + text + "," + std::to_string(index) + ") ";
}

bool ProbeControl::Draw(IGraphics& g)
{
    ++draws;
    if (redrawInDraw) {
        redrawInDraw = false;
        redraw = true;
    }
    return g.FillRect(colour, rect, nullptr);
}

void Editor::SetUp()
{
    plug = new EditorPlugin;
    plug->setComponentHandler(&handler);
    auto g = std::make_unique<RecordingGraphics>(plug, 434, 480, 0);
    g->AttachBackground(100, "bg");
    graphics = g.get();
    plug->AttachEditor(std::move(g));
    graphics->SetMouseOverEnabled(true);
}

void Editor::TearDown() { plug->release(); }

std::string Editor::Edits() const
{
    std::string out;
    for (const auto& e : handler.Edits()) {
        char item[48];
        switch (e.kind) {
        case vibrascend::host::EditEvent::Kind::Begin: std::snprintf(item, sizeof item, "B%u ", e.id); break;
        case vibrascend::host::EditEvent::Kind::Perform:
            std::snprintf(item, sizeof item, "P%u=%g ", e.id, e.value);
            break;
        case vibrascend::host::EditEvent::Kind::End: std::snprintf(item, sizeof item, "E%u ", e.id); break;
        }
        out += item;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

ProbeControl* Editor::Probe(int paramIdx, const IBox& area, IArgb colour, const char* name)
{
    auto probe = std::make_unique<ProbeControl>(plug, paramIdx, area, colour, &log, name);
    ProbeControl* p = probe.get();
    graphics->AttachControl(std::move(probe));
    return p;
}

std::uint32_t Editor::Pixel(int x, int y) const
{
    const PIX_SysBitmap* b = graphics->BackBuffer();
    return b->GetBits()[static_cast<long>(y) * b->GetRowSpan() + x];
}

void Editor::Tick(int times)
{
    for (int i = 0; i < times; ++i)
        graphics->Tick();
}

Steinberg::tresult ProcessStereo(IFxVST3& plug, float* in, float* out, int frames,
                                 Steinberg::Vst::IParameterChanges* changes)
{
    float* ins[2] = {in, in};
    float* outs[2] = {out, out};
    Steinberg::Vst::AudioBusBuffers inBus{};
    inBus.numChannels = 2;
    inBus.channelBuffers32 = ins;
    Steinberg::Vst::AudioBusBuffers outBus{};
    outBus.numChannels = 2;
    outBus.channelBuffers32 = outs;
    Steinberg::Vst::ProcessData data{};
    data.symbolicSampleSize = Steinberg::Vst::kSample32;
    data.numSamples = frames;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &inBus;
    data.outputs = &outBus;
    data.inputParameterChanges = changes;
    return plug.process(data);
}
