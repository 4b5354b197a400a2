// Program changes from the host, through its program list (setParamNormalized on the UI thread)
// and through a program point in process (the audio thread): the controller then answers the
// preset's values, and the host hears of new values and of newly named slots on the UI thread
// only.
#include "ModuleFixture.h"

#include "framework/vst3/IEditorSnapshot.h"

#include "pluginterfaces/gui/iplugview.h"
#include "public.sdk/source/common/memorystream.h"

#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using namespace module_test;

namespace {

// A component handler that also offers the unit handler, recording every call with the calling
// thread.
class ThreadRecordingHandler final : public IComponentHandler, public IUnitHandler {
public:
    struct Call {
        enum class Kind {
            Restart,
            ProgramListChange
        };
        Kind kind;
        int32 value;  // restart flags, or the program index
        std::thread::id thread;
    };

    std::vector<Call> Calls() const
    {
        std::lock_guard<std::mutex> g(mutex);
        return calls;
    }
    int Restarts(std::thread::id thread) const { return Count(Call::Kind::Restart, kParamValuesChanged, thread); }
    int ProgramListChanges(int32 index, std::thread::id thread) const
    {
        return Count(Call::Kind::ProgramListChange, index, thread);
    }

    // The values edits reported, by parameter id, in call order.
    std::vector<std::pair<ParamID, double>> Edits() const
    {
        std::lock_guard<std::mutex> g(mutex);
        return edits;
    }

    tresult PLUGIN_API beginEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override
    {
        std::lock_guard<std::mutex> g(mutex);
        edits.emplace_back(id, value);
        return kResultOk;
    }
    tresult PLUGIN_API endEdit(ParamID) override { return kResultOk; }
    tresult PLUGIN_API restartComponent(int32 flags) override
    {
        Record(Call::Kind::Restart, flags);
        return kResultOk;
    }
    tresult PLUGIN_API notifyUnitSelection(UnitID) override { return kResultOk; }
    tresult PLUGIN_API notifyProgramListChange(ProgramListID listId, int32 programIndex) override
    {
        if (listId == static_cast<ProgramListID>(kPresetList))
            Record(Call::Kind::ProgramListChange, programIndex);
        return kResultOk;
    }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override
    {
        if (FUnknownPrivate::iidEqual(iid, IComponentHandler::iid) || FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
            *obj = static_cast<IComponentHandler*>(this);
            return kResultOk;
        }
        if (FUnknownPrivate::iidEqual(iid, IUnitHandler::iid)) {
            *obj = static_cast<IUnitHandler*>(this);
            return kResultOk;
        }
        *obj = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

private:
    void Record(Call::Kind kind, int32 value)
    {
        std::lock_guard<std::mutex> g(mutex);
        calls.push_back({kind, value, std::this_thread::get_id()});
    }
    int Count(Call::Kind kind, int32 value, std::thread::id thread) const
    {
        int n = 0;
        for (const Call& c : Calls())
            n += c.kind == kind && c.value == value && c.thread == thread;
        return n;
    }

    mutable std::mutex mutex;
    std::vector<Call> calls;
    std::vector<std::pair<ParamID, double>> edits;
};

double ProgramPosition(int index) { return index / 149.0; }

// The normalized values of the thirteen parameters after `preset` was loaded into a fresh
// instance through a program point, read back from its component state.
std::vector<double> PresetValues(int preset)
{
    Instance reference;
    reference.Setup(44100, 512, kSample32);
    reference.Automate(kPresetList, ProgramPosition(preset));
    MemoryStream stream;
    EXPECT_EQ(reference.Component()->getState(&stream), kResultOk);
    std::vector<double> plain(13);
    stream.seek(0, IBStream::kIBSeekSet, nullptr);
    stream.read(plain.data(), 13 * 8, nullptr);
    std::vector<double> normalized;
    for (ParamID id = 0; id < 13; ++id)
        normalized.push_back(reference.NormalizedOf(id, plain[id]));
    return normalized;
}

std::vector<double> ControllerValues(Instance& plug)
{
    std::vector<double> values;
    for (ParamID id = 0; id < 13; ++id)
        values.push_back(plug.Controller()->getParamNormalized(id));
    return values;
}

// Runs one program point through process on a thread of its own, as a host's audio thread does.
std::thread::id ProcessOnAudioThread(Instance& plug, ParamID id, double normalized)
{
    std::thread::id audio;
    std::thread thread([&] {
        audio = std::this_thread::get_id();
        plug.Automate(id, normalized);
    });
    thread.join();
    return audio;
}

struct Fixture {
    ThreadRecordingHandler handler;  // outlives the instance, which holds it until it goes
    Instance plug;
    const std::thread::id ui = std::this_thread::get_id();

    explicit Fixture(const std::string& hostName = "module-test") : plug(hostName)
    {
        plug.Controller()->setComponentHandler(&handler);
        plug.Setup(44100, 512, kSample32);
    }
};

}  // namespace

TEST(ProgramChangeThread, TheHostsProgramListLoadsThePresetAndTellsTheHostAtOnce)
{
    const std::vector<double> schumann = PresetValues(73);
    Fixture f;
    ASSERT_NE(ControllerValues(f.plug), schumann);
    ASSERT_EQ(f.plug.Controller()->setParamNormalized(kPresetList, ProgramPosition(73)), kResultOk);
    EXPECT_EQ(f.handler.Restarts(f.ui), 1);
    EXPECT_EQ(ControllerValues(f.plug), schumann);
    EXPECT_DOUBLE_EQ(f.plug.Controller()->getParamNormalized(kPresetList), ProgramPosition(73));

    // The host sends the same program change to the processor as well; an edit made in between
    // stays, and nothing is reported again.
    ASSERT_EQ(f.plug.Controller()->setParamNormalized(4, 0.25), kResultOk);
    ProcessOnAudioThread(f.plug, kPresetList, ProgramPosition(73));
    EXPECT_EQ(f.plug.Controller()->getParamNormalized(4), 0.25);
    EXPECT_EQ(f.handler.Calls().size(), 1u);
}

TEST(ProgramChangeThread, ArdourHearsTheNewValuesAsEditsRatherThanARestart)
{
    // Ardour holds its process lock around the program change it sends and takes it again in
    // restartComponent: a restart asked for from inside the change would never return there.
    const std::vector<double> schumann = PresetValues(73);
    Fixture f("Ardour");
    ASSERT_EQ(f.plug.Controller()->setParamNormalized(kPresetList, ProgramPosition(73)), kResultOk);
    EXPECT_EQ(f.handler.Restarts(f.ui), 0);
    std::vector<double> announced(13, -1.0);
    for (const auto& [id, value] : f.handler.Edits())
        if (id < 13)
            announced[id] = value;
    EXPECT_EQ(announced, schumann);
    EXPECT_EQ(ControllerValues(f.plug), schumann);
}

TEST(ProgramChangeThread, AProgramPointInProcessIsReportedOnTheUiThreadOnly)
{
    const std::vector<double> schumann = PresetValues(73);
    const std::vector<double> second = PresetValues(20);
    Fixture f;
    const std::thread::id audio = ProcessOnAudioThread(f.plug, kPresetList, ProgramPosition(73));
    EXPECT_TRUE(f.handler.Calls().empty());
    // The next controller call on the UI thread delivers the note, before it answers.
    EXPECT_EQ(ControllerValues(f.plug), schumann);
    EXPECT_EQ(f.handler.Restarts(f.ui), 1);

    // The editor's frame tick delivers it too.
    IPtr<IPlugView> view = owned(f.plug.Controller()->createView("editor"));
    ASSERT_TRUE(view);
    IPtr<Vibrascend::IEditorSnapshot> snapshot = FUnknownPtr<Vibrascend::IEditorSnapshot>(view);
    ASSERT_TRUE(snapshot);
    ProcessOnAudioThread(f.plug, kPresetList, ProgramPosition(20));
    EXPECT_EQ(f.handler.Restarts(f.ui), 1);
    std::vector<uint32> pixels(434 * 480);
    int32 w = 0, h = 0;
    ASSERT_EQ(snapshot->capture(pixels.data(), static_cast<int32>(pixels.size()), w, h), kResultOk);
    EXPECT_EQ(f.handler.Restarts(f.ui), 2);
    EXPECT_EQ(ControllerValues(f.plug), second);
    EXPECT_EQ(f.handler.Restarts(f.ui), 2);
    for (const auto& call : f.handler.Calls())
        EXPECT_NE(call.thread, audio);
}

TEST(ProgramChangeThread, SlotsNamedOnFirstSelectionAreReportedToTheUnitHandler)
{
    Fixture f;
    String128 name{};
    // From the host's program list: reported at once.
    ASSERT_EQ(f.plug.Controller()->setParamNormalized(kPresetList, ProgramPosition(140)), kResultOk);
    EXPECT_EQ(f.handler.ProgramListChanges(140, f.ui), 1);
    ASSERT_EQ(f.plug.Units()->getProgramName(kPresetList, 140, name), kResultOk);
    EXPECT_EQ(Ascii(name), "user preset 1");

    // From a program point: named and reported on the UI side, when the host next asks for a name.
    const std::thread::id audio = ProcessOnAudioThread(f.plug, kPresetList, ProgramPosition(141));
    ASSERT_EQ(f.plug.Units()->getProgramName(kPresetList, 141, name), kResultOk);
    EXPECT_EQ(Ascii(name), "user preset 2");
    EXPECT_EQ(f.handler.ProgramListChanges(141, f.ui), 1);
    EXPECT_EQ(f.handler.ProgramListChanges(141, audio), 0);
    // A slot already named is not reported again.
    ASSERT_EQ(f.plug.Controller()->setParamNormalized(kPresetList, ProgramPosition(140)), kResultOk);
    EXPECT_EQ(f.handler.ProgramListChanges(140, f.ui), 1);
    ASSERT_EQ(f.plug.Units()->getProgramName(kPresetList, 140, name), kResultOk);
    EXPECT_EQ(Ascii(name), "user preset 1");
}
