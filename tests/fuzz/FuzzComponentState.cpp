// Feeds arbitrary bytes to a processing effect as its component state, through IComponent::setState
// and then IEditController::setComponentState. A refused state must leave the state, the audio
// and the editor as they were; an accepted one must leave usable values that survive a round
// trip; and the next block must come out finite.
#include "FuzzEffect.h"
#include "FuzzRequire.h"

using namespace Steinberg;

namespace {

// A preset other than the defaults, so that a refusal that falls back to defaults shows.
constexpr int kPresetBefore = 7;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEffectPtr effect(new FuzzEffect);
    effect->LoadPreset(kPresetBefore);
    Require(effect->ProcessBlockOfTone(), "the preset's block is finite");
    const std::vector<std::uint8_t> before = effect->State();
    Require(!before.empty(), "getState writes the state");

    const std::span<const std::uint8_t> input(data, size);
    const tresult answer = effect->SetState(input);
    Require(answer == kResultOk || answer == kResultFalse, "setState answers success or failure");
    const std::vector<std::uint8_t> after = effect->State();
    if (answer == kResultFalse) {
        Require(after == before, "a refused state changes nothing");
    } else {
        Require(effect->ValuesUsable(), "an accepted state leaves usable values");
        Require(effect->SetState(after) == kResultOk, "the state written back is accepted");
        Require(effect->State() == after, "the state written back reads the same");
    }
    Require(effect->EditorMatchesParams(), "the editor shows the parameters");

    const tresult controller = effect->SetComponentState(input);
    Require(controller == kResultOk || controller == kResultFalse || controller == kNotImplemented,
            "setComponentState answers success, failure or not implemented");
    Require(effect->State() == after, "the controller's copy of the state changes nothing");

    Require(effect->ProcessBlockOfTone(), "the block after the state is finite");
    Require(effect->EffectMatchesParams(), "the effect applies what the parameters hold");
    return 0;
}
