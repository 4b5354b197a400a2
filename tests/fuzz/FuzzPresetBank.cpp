// Feeds arbitrary bytes to the preset bank reader. A bank that fails must leave the parameters
// and every preset slot as they were; one that loads must leave usable values in the parameters
// and the slots, and the bank saved from it must load again to the same bank.
#include "FuzzEffect.h"
#include "FuzzRequire.h"

namespace {

// A preset other than the defaults, so that a failure that falls back to defaults shows.
constexpr int kPresetBefore = 3;

std::vector<std::uint8_t> BankOf(FuzzEffect& effect)
{
    StateChunk bank;
    Require(effect.SavePresetBank(bank), "the bank is written");
    return std::vector<std::uint8_t>(bank.Data(), bank.Data() + bank.Size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzEffectPtr effect(new FuzzEffect);
    effect->LoadPreset(kPresetBefore);
    const std::vector<std::uint8_t> stateBefore = effect->State();
    const std::vector<std::uint8_t> bankBefore = BankOf(*effect);

    StateChunk chunk;
    chunk.PutBytes(data, static_cast<int32_t>(size));
    const int32_t position = effect->LoadPresetBank(chunk, 0);
    Require(position == -1 || (position >= 0 && position <= chunk.Size()),
            "the answer is -1 or a position inside the bank");
    if (position < 0) {
        Require(effect->State() == stateBefore, "a failed bank leaves the parameters");
        Require(BankOf(*effect) == bankBefore, "a failed bank leaves the presets");
    } else {
        Require(effect->ValuesUsable(), "a loaded bank leaves usable values");
        for (int slot = 0; slot < effect->NumPresets(); ++slot)
            Require(effect->PresetValuesUsable(slot), "a loaded bank leaves usable presets");
        const std::vector<std::uint8_t> state = effect->State();
        const std::vector<std::uint8_t> bank = BankOf(*effect);
        StateChunk again;
        again.PutBytes(bank.data(), static_cast<int32_t>(bank.size()));
        Require(effect->LoadPresetBank(again, 0) == again.Size(), "the saved bank loads whole");
        Require(BankOf(*effect) == bank, "the saved bank loads to the same bank");
        Require(effect->State() == state, "the saved bank loads to the same values");
    }
    Require(effect->EditorMatchesParams(), "the editor shows the parameters");
    Require(effect->ProcessBlockOfTone(), "the block after the bank is finite");
    Require(effect->EffectMatchesParams(), "the effect applies what the parameters hold");
    return 0;
}
