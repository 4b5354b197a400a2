// The range bar, the text control and the logo link: what they draw on the back buffer, when
// they ask to be redrawn, and which addresses a press hands to the window's URL opener.
#include "EditorFixture.h"

#include "controls/IDrawRect.h"
#include "controls/ITextControl.h"
#include "controls/IURLControl.h"

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr IArgb kBlack{255, 0, 0, 0};
constexpr IArgb kBarColour{120, 75, 255, 220};
constexpr IBox kBarArea{33, 327, 193, 333};

int Channel(std::uint32_t p, int shift) { return static_cast<int>((p >> shift) & 0xFF); }

class Displays : public Editor {
protected:
    template <class C>
    C* Attach(std::unique_ptr<C> control)
    {
        C* c = control.get();
        graphics->AttachControl(std::move(control));
        return c;
    }

    // Pixels of r that differ from black.
    std::vector<std::pair<int, int>> Ink(const IBox& r) const
    {
        std::vector<std::pair<int, int>> out;
        for (int y = r.T; y < r.B; ++y)
            for (int x = r.L; x < r.R; ++x)
                if (Pixel(x, y) != 0xFF000000u)
                    out.emplace_back(x, y);
        return out;
    }

    // Whether exactly the pixels of `bar` (within `around`) show the bar's colour over black.
    void ExpectBarExactly(const IBox& bar, const IBox& around) const
    {
        for (int y = around.T; y < around.B; ++y)
            for (int x = around.L; x < around.R; ++x) {
                const bool inside = x >= bar.L && x < bar.R && y >= bar.T && y < bar.B;
                const std::uint32_t p = Pixel(x, y);
                if (!inside) {
                    ASSERT_EQ(p, 0xFF000000u) << x << "," << y;
                    continue;
                }
                // 120/255 of (75, 255, 220) over black.
                ASSERT_NEAR(Channel(p, 16), 35, 1) << x << "," << y;
                ASSERT_NEAR(Channel(p, 8), 120, 1) << x << "," << y;
                ASSERT_NEAR(Channel(p, 0), 103, 1) << x << "," << y;
            }
    }
};

// Answers OpenURL from a table instead of starting a browser, and records every call.
class UrlGraphics : public RecordingGraphics {
public:
    using RecordingGraphics::RecordingGraphics;
    bool OpenURL(const char* url, const char* caption, const char* confirmText, const char* errorText) override
    {
        calls.push_back(std::string(url) + "|" + (caption ? caption : "null") + "|" + (confirmText ? "confirm" : "") +
                        (errorText ? "error" : ""));
        for (const std::string& a : accepted)
            if (a == url)
                return true;
        return false;
    }
    std::vector<std::string> accepted;
    std::vector<std::string> calls;
};

class Links : public ::testing::Test {
protected:
    void SetUp() override
    {
        plug = new EditorPlugin;
        auto g = std::make_unique<UrlGraphics>(plug, 434, 480, 0);
        graphics = g.get();
        plug->AttachEditor(std::move(g));
    }
    void TearDown() override { plug->release(); }

    void Link(const char* url, const char* backup, const char* title = nullptr)
    {
        graphics->AttachControl(std::make_unique<IURLControl>(plug, IBox{121, 15, 313, 62}, url, backup, title));
    }

    EditorPlugin* plug = nullptr;
    UrlGraphics* graphics = nullptr;
};

}  // namespace

TEST_F(Displays, RangeBarFillsExactlyItsRectangleInItsColour)
{
    Probe(-1, {20, 320, 210, 340}, kBlack);
    IDrawRect* bar = Attach(std::make_unique<IDrawRect>(plug, kBarArea, kBarColour, kBarArea));
    EXPECT_EQ(bar->ParamIdx(), -1);
    Tick();
    const IBox around{20, 320, 210, 340};
    ExpectBarExactly(kBarArea, around);

    bar->SetBarRect({89, 327, 137, 333});
    IBox region;
    ASSERT_TRUE(graphics->IsDirty(region));
    EXPECT_EQ(region, kBarArea);  // the whole area is redrawn, so the old bar leaves no trace
    Tick();
    ExpectBarExactly({89, 327, 137, 333}, around);

    bar->CollapseBar();
    EXPECT_EQ(bar->BarRect(), (IBox{89, 327, 89, 327}));
    Tick();
    EXPECT_TRUE(Ink(around).empty());
    EXPECT_EQ(Edits(), "");  // no parameter: nothing reaches the host
}

TEST_F(Displays, RangeBarIsRedrawnForTheSameRectangleAndKeptInsideItsArea)
{
    Probe(-1, {0, 300, 434, 360}, kBlack);
    IDrawRect* bar = Attach(std::make_unique<IDrawRect>(plug, kBarArea, kBarColour, kBarArea));
    Tick();
    IBox none;
    EXPECT_FALSE(graphics->IsDirty(none));
    bar->SetBarRect(kBarArea);
    EXPECT_TRUE(bar->IsDirty());

    bar->SetBarRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX});
    Tick();
    ExpectBarExactly(kBarArea, {0, 300, 434, 360});
    bar->SetBarRect({300, 0, 400, 10});  // wholly outside its area
    Tick();
    EXPECT_TRUE(Ink({0, 300, 434, 360}).empty());
}

TEST_F(Displays, ReplacingTheTextRedrawsOnlyWhenItDiffers)
{
    Probe(-1, {80, 270, 180, 300}, kBlack);
    const ITextStyle band{"Arial", 15, IArgb{200, 255, 255, 255}, 0, ITextStyle::kAlignCentre};
    ITextControl* label = Attach(std::make_unique<ITextControl>(plug, IBox{85, 277, 169, 292}, band, nullptr));
    Tick();
    EXPECT_TRUE(Ink({80, 270, 180, 300}).empty());  // an empty text draws nothing

    label->ReplaceText("Alpha");
    EXPECT_STREQ(label->Text(), "Alpha");
    IBox region;
    ASSERT_TRUE(graphics->IsDirty(region));
    EXPECT_EQ(region, (IBox{85, 277, 169, 292}));
    Tick();
    const auto alpha = Ink({80, 270, 180, 300});
    ASSERT_FALSE(alpha.empty());
    IBox none;
    EXPECT_FALSE(graphics->IsDirty(none));

    label->ReplaceText("Alpha");
    EXPECT_FALSE(graphics->IsDirty(none));
    label->ReplaceText(nullptr);
    EXPECT_TRUE(graphics->IsDirty(none));
    EXPECT_STREQ(label->Text(), "");
    Tick();
    EXPECT_TRUE(Ink({80, 270, 180, 300}).empty());
    label->ReplaceText("");
    EXPECT_FALSE(graphics->IsDirty(none));
}

TEST_F(Displays, VersionTextIsTranslucentAndStartsAtTheLeftEdge)
{
    Probe(-1, {40, 5, 120, 40}, kBlack);
    const ITextStyle version{"Verdana", 13, IArgb{100, 255, 255, 255}, 0, ITextStyle::kAlignLeft};
    ITextControl* text = Attach(std::make_unique<ITextControl>(plug, IBox{45, 12, 95, 30}, version, "v1.1"));
    EXPECT_EQ(text->Style().size, 13);
    EXPECT_EQ(text->Style().Face(), "Verdana");
    Tick();
    const auto ink = Ink({40, 5, 120, 40});
    ASSERT_FALSE(ink.empty());
    int left = INT_MAX;
    int top = INT_MAX;
    int brightest = 0;
    for (const auto& [x, y] : ink) {
        left = std::min(left, x);
        top = std::min(top, y);
        brightest = std::max(brightest, Channel(Pixel(x, y), 8));
    }
    EXPECT_GE(left, 45);
    EXPECT_LE(left, 48);
    EXPECT_GE(top, 12);
    EXPECT_LE(brightest, 101);  // white at alpha 100 over black, never brighter
    EXPECT_GE(brightest, 80);
}

TEST_F(Links, PressOpensTheAddressWithoutConfirmationOrErrorText)
{
    graphics->accepted = {"https://tolmira.example/vibrascend"};
    Link("https://tolmira.example/vibrascend", "https://tolmira.example/");
    graphics->OnMouseDown(200, 40, Left());
    graphics->OnMouseUp(200, 40, Left());
    graphics->OnMouseDown(121, 15, Right());  // any button, on the very edge
    ASSERT_EQ(graphics->calls.size(), 2u);
    EXPECT_EQ(graphics->calls[0], "https://tolmira.example/vibrascend||");
    EXPECT_EQ(graphics->calls[1], graphics->calls[0]);
}

TEST_F(Links, RefusedOrEmptyAddressFallsBackToTheBackup)
{
    graphics->accepted = {"https://tolmira.example/"};
    Link("https://tolmira.example/vibrascend", "https://tolmira.example/", "Tolmira");
    graphics->OnMouseDown(200, 40, Left());
    EXPECT_EQ(graphics->calls, (std::vector<std::string>{"https://tolmira.example/vibrascend|Tolmira|",
                                                         "https://tolmira.example/|Tolmira|"}));

    graphics->calls.clear();
    graphics->RemoveControl(graphics->GetControl(0));
    Link("", "https://tolmira.example/");
    graphics->OnMouseDown(200, 40, Left());
    EXPECT_EQ(graphics->calls, (std::vector<std::string>{"https://tolmira.example/||"}));

    graphics->calls.clear();
    graphics->RemoveControl(graphics->GetControl(0));
    Link(nullptr, "");
    graphics->OnMouseDown(200, 40, Left());
    EXPECT_TRUE(graphics->calls.empty());
}

TEST_F(Links, OverlongArgumentsAreCutToTheirFields)
{
    const std::string longUrl = "https://tolmira.example/" + std::string(400, 'a');
    const std::string longTitle(2000, 't');
    auto owned =
        std::make_unique<IURLControl>(plug, IBox{0, 0, 10, 10}, longUrl.c_str(), longUrl.c_str(), longTitle.c_str());
    IURLControl& link = *owned;
    graphics->AttachControl(std::move(owned));
    EXPECT_EQ(std::string(link.Url()), longUrl.substr(0, 255));
    EXPECT_EQ(std::string(link.BackupUrl()), longUrl.substr(0, 255));
    EXPECT_EQ(std::string(link.Title()), longTitle.substr(0, 1023));
    EXPECT_TRUE(link.Draw(*graphics));
    link.OnMouseDown(0, 0, Left());
    EXPECT_EQ(graphics->calls.size(), 2u);  // both refused
}
