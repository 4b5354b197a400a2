#include "WindowFixture.h"

#include <cstdio>

namespace {

constexpr IFxDeclaration kDeclaration{3, "2-2", 1, "Window", "", "Maker", 0x00010100, 0x57696E64, 0x4D616B72, 0};

}  // namespace

WindowPlugin::WindowPlugin(int fps) : IFxBase(kDeclaration), IFxVST3(kDeclaration)
{
    GetParam(0)->DefineDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
    GetParam(1)->DefineEnum("Target", 1, 4, "");
    GetParam(1)->AddValueText(0, "No Assign");
    GetParam(1)->AddValueText(1, "Out Gain");
    GetParam(1)->AddValueText(2, "Low Gain");
    GetParam(1)->AddValueText(3, "High Gain");
    GetParam(2)->DefineDouble("Level", 50.0, 0.0, 100.0, 0.1, "%");
    auto g = std::make_unique<IGraphicsLinux>(this, 434, 480, fps);
    g->AttachControl(std::make_unique<TestSlider>(this, -1, IBox{0, 0, 434, 480}));
    g->AttachControl(std::make_unique<TestSlider>(this, 0, kGainSlider));
    g->AttachControl(std::make_unique<TestSlider>(this, 1, kTargetSlider));
    g->AttachControl(std::make_unique<TestSlider>(this, 2, kLevelSlider));
    AttachEditor(std::move(g));
    Editor()->SetMouseOverEnabled(true);
}

void WindowPlugin::ParamChanged(int) { processingEnabled = true; }

TestSlider::TestSlider(IFxBase* plug, int paramIdx, const IBox& area) : IControl(plug, paramIdx)
{
    rect = area;
    targetRect = area;
}

void TestSlider::OnMouseDown(int, int, const IMouseState& mod)
{
    if (mod.R && paramIdx >= 0)
        OpenValueEntry();
}

void TestSlider::OnMouseDrag(int, int, int, int dY, const IMouseState&)
{
    value -= dY / 100.0;
    SetDirty(true);
}

void TestSlider::OnKeyDown(int, int, int key) { keys += std::to_string(key) + " "; }

bool TestSlider::Draw(IGraphics& g)
{
    const int grey = static_cast<int>(value * 200.0) + 30;
    return g.FillRect(IArgb{255, grey, grey / 2, 255 - grey}, rect, nullptr);
}

OpenEditor::OpenEditor(vibrascend::host::RunLoopFrame& frame, int fps)
{
    host = X11HostWindow::Open("Vibrascend test host", 434, 480);
    plug = new WindowPlugin(fps);
    plug->setComponentHandler(&handler);
    if (host)
        Reopen(frame);
}

OpenEditor::~OpenEditor()
{
    session.reset();
    plug->release();
}

void OpenEditor::Reopen(vibrascend::host::RunLoopFrame& frame)
{
    session = std::make_unique<vibrascend::host::EditorSession>(plug, frame, host->Handle(),
                                                                Steinberg::kPlatformTypeX11EmbedWindowID);
}

std::string OpenEditor::Edits() const
{
    std::string out;
    for (const auto& e : handler.Edits()) {
        char item[48];
        switch (e.kind) {
        case vibrascend::host::EditEvent::Kind::Begin: std::snprintf(item, sizeof item, "B%u ", e.id); break;
        case vibrascend::host::EditEvent::Kind::Perform:
            std::snprintf(item, sizeof item, "P%u=%.3g ", e.id, e.value);
            break;
        case vibrascend::host::EditEvent::Kind::End: std::snprintf(item, sizeof item, "E%u ", e.id); break;
        }
        out += item;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

void EditorWindow::SetUp()
{
    input = X11InputSynthesizer::Open();
    if (!input)
        GTEST_SKIP() << "no X display with the XTest extension";
    editor = std::make_unique<OpenEditor>(frame);
    ASSERT_TRUE(editor->host);
    ASSERT_NE(editor->plug->Editor()->GetWindow(), nullptr);
    Run(150);
}

void EditorWindow::TearDown()
{
    editor.reset();
    input.reset();
}

void EditorWindow::Run(int ms)
{
    frame.RunFor(ms);
    if (editor && editor->host)
        editor->host->Pump();
}

void EditorWindow::Click(int x, int y, int button)
{
    MoveTo(x, y);
    input->Click(button);
}
