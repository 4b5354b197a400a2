#include "effect/PresetCatalogue.h"

#include "effect/VibrascendParams.h"
#include "framework/IFxBase.h"

#include <iterator>

namespace {

// Presets 1-116 in list order: the name and the rate of LFO 1 in Hz.
constexpr CataloguePreset kCatalogue[] = {
    {"0.2 Hz (Dental pain)", 0.2},
    {"0.37 Hz (Drug addiction)", 0.37},
    {"0.4 Hz (Confusion)", 0.4},
    {"0.5 Hz (Post traumatics)", 0.5},
    {"0.9 Hz (Euphoria)", 0.9},
    {"1 Hz (Feeling of well-being, pituitary stimulation)", 1.0},
    {"1.45 Hz (Tri-thalamic entrainment, Alzheimer)", 1.45},
    {"1.5 Hz (Abrahams universal healing rate)", 1.5},
    {"1.8 Hz (Sinus congestion)", 1.8},
    {"2.0 Hz (Nerve regeneration)", 2.0},
    {"2.06 Hz (Associated with coccyx)", 2.06},
    {"2.2 Hz (Dreamless sleep, trance state)", 2.2},
    {"2.3 Hz (Associated with genitals)", 2.3},
    {"2.57 Hz (Associated with bladder)", 2.57},
    {"2.67 Hz (Associated with intestines)", 2.67},
    {"3.0 Hz (Increased Reaction Time)", 3.0},
    {"3.4 Hz (Sound sleep)", 3.4},
    {"3.44 Hz (Associated with ovaries)", 3.44},
    {"3.5 Hz (Feeling of unity with everythin)", 3.5},
    {"3.6 Hz (Remedy for anger & irritability)", 3.6},
    {"3.84 Hz (Associated with the liver & pancreas)", 3.84},
    {"4.0 Hz (Extrasensory perception, astral Projection)", 4.0},
    {"4.11 Hz (Associated with kidneys)", 4.11},
    {"4.5 Hz (Shamanic & Tibetan state of consciousness)", 4.5},
    {"4.6 Hz (Associated with spleen & blood)", 4.6},
    {"4.9 Hz (Relaxation & meditation)", 4.9},
    {"5.0 Hz (Relaxed states, pain-relief)", 5.0},
    {"5.14 Hz (Associated with stomach)", 5.14},
    {"5.35 Hz (Associated with lungs)", 5.35},
    {"5.5 Hz (Beyond knowledge to knowing)", 5.5},
    {"5.8 Hz (Reduce fear, absent-mindedness)", 5.8},
    {"6.0 Hz (Creative visualization)", 6.0},
    {"6.15 Hz (Associated with heart)", 6.15},
    {"6.3 Hz (Mental & astral projection)", 6.3},
    {"7.0 Hz (Mental & astral projection 2)", 7.0},
    {"7.5 Hz (Inter-awareness of self)", 7.5},
    {"7.8 Hz (Stimulates ESP, paranormal)", 7.8},
    {"8.0 Hz (Learning new information)", 8.0},
    {"8.6 Hz (Induces sleep, tingling sensations)", 8.6},
    {"9.0 Hz (Awareness of causes of body imbalance)", 9.0},
    {"9.41 Hz (Pyramid frequency)", 9.41},
    {"9.6 Hz (Earth's magnetic field)", 9.6},
    {"10.6 Hz (Relaxed & alert)", 10.6},
    {"11.0 Hz (Focused alertness)", 11.0},
    {"14.1 Hz (Earth Resonance)", 14.1},
    {"15.0 Hz (Euphoria)", 15.0},
    {"20.3 Hz (Earth Resonance)", 20.3},
    {"22.02 Hz (Serotonin)", 22.02},
    {"26.4 Hz (Earth Resonance)", 26.4},
    {"30.0 Hz (Associated with marijuana)", 30.0},
    {"31.32 Hz (Pituitary stimulation to release growth hormone)", 31.32},
    {"32.0 Hz (Desensitizer; enhanced vigour & alertnes)", 32.0},
    {"33.0 Hz (Christ consciousness)", 33.0},
    {"35.0 Hz (Awakening of mid-chakras, balance of chakras)", 35.0},
    {"38.0 Hz (Endorphin release)", 38.0},
    {"46.98 Hz (Useful for weird effects)", 46.98},
    {"55.0 Hz (Tantric yoga, stimulates the kundalini)", 55.0},
    {"63.5 Hz (Astral projection)", 63.5},
    {"70.0 Hz (Mental & astral projection)", 70.0},
    {"83.0 Hz (Third eye opening)", 83.0},
    {"90.0 Hz (Pleasure, producing beta-endorphins)", 90.0},
    {"105.0 Hz (Overall view of complete situation)", 105.0},
    {"108.0 Hz (Total knowing)", 108.0},
    {"111.0 Hz (Beta endorphins)", 111.0},
    {"176.0 Hz (Associated with colon)", 176.0},
    {"8.0 Hz (Muladhara chakra)", 8.0},
    {"9.0 Hz (Svadhisthana chakra)", 9.0},
    {"10.0 Hz (Manipura chakra)", 10.0},
    {"10.5 Hz (Anahata chakra)", 10.5},
    {"12.0 Hz (Vishuddha chakra)", 12.0},
    {"13.0 Hz (Ajna chakra)", 13.0},
    {"15.0 Hz (Sahasrara chakra)", 15.0},
    {"7.83 Hz (Schumann Resonance)", 7.83},
    {"14.3 Hz (Schumann Resonance)", 14.3},
    {"20.8 Hz (Schumann Resonance)", 20.8},
    {"27.3 Hz (Schumann Resonance)", 27.3},
    {"33.8 Hz (Schumann Resonance)", 33.8},
    {"126.22 Hz (Sun: light, warmth, joy, animus)", 126.22},
    {"136.1 Hz (Earth: resonates with the earth year)", 136.1},
    {"140.25 Hz (Pluto: power, crisis & changes)", 140.25},
    {"141.27 Hz (Mercury: intellectuality, mobility)", 141.27},
    {"144.72 Hz (Mars: activity, energy, freedom, humor)", 144.72},
    {"147.85 Hz (Saturn: separation, sorrow, death)", 147.85},
    {"183.58 Hz (Jupiter: growth, success, justice, spirituality)", 183.58},
    {"194.71 Hz (Earth: stability, grounding)", 194.71},
    {"207.36 Hz (Uranus: spontaneity, independence, originality)", 207.36},
    {"211.44 Hz (Neptune: the unconscious, secrets, imagination, spiritual love)", 211.44},
    {"221.23 Hz (Venus: beauty, love, sexuality, sensuality, harmony)", 221.23},
    {"Healing - 110 Hz (Stomach)", 110.0},
    {"Healing - 117.3 Hz (Pancreas)", 117.3},
    {"Healing - 164.3 Hz (Gall Bladder)", 164.3},
    {"Healing - 176 Hz (Colon)", 176.0},
    {"Healing - 220 Hz (Lungs)", 220.0},
    {"Healing - 264 Hz (Personality)", 264.0},
    {"Healing - 281.6 Hz (Small Intestine)", 281.6},
    {"Healing - 295.8 Hz (Fat Cells)", 295.8},
    {"Healing - 317.8 Hz (Liver)", 317.8},
    {"Healing - 319.9 Hz (Kidneys)", 319.9},
    {"Healing - 321.9 Hz (Blood)", 321.9},
    {"Healing - 324 Hz (Muscles)", 324.0},
    {"Healing - 352 Hz (Bladder)", 352.0},
    {"Healing - 418.3 Hz (Bones)", 418.3},
    {"Healing - 432 Hz (Natural, harmonic intonation of nature)", 432.0},
    {"Healing - 492 Hz (Spleen)", 492.0},
    {"Healing - 492.8 Hz (Adrenals, thyroid & parathyroid)", 492.8},
    {"Healing - 586 Hz (Circulation & sex)", 586.0},
    {"Solfeggio UT - 396 Hz (Turning grief into joy, liberating Guilt and Fear)", 396.0},
    {"Solfeggio RE - 417 Hz (Undoing Situations and Facilitating Change)", 417.0},
    {"Solfeggio MI - 528 Hz (Transformation and Miracles, DNA Repair)", 528.0},
    {"Solfeggio FA - 639 Hz (Relationship, connecting with spiritual family)", 639.0},
    {"Solfeggio SOL - 741 Hz (Solving problems, expressions & solutions)", 741.0},
    {"Solfeggio LA - 852 Hz (Awakening Intuition, returning to Spiritual Order)", 852.0},
    {"Solfeggio SI - 963 Hz (Awakens any system to its original, perfect state)", 963.0},
    {"Solfeggio - 174 Hz (Natural anaesthetic, reduce pain)", 174.0},
    {"Solfeggio - 285 Hz (Return tissue into its original form)", 285.0},
    {"Solfeggio - 936 Hz (Pineal Gland Activator)", 936.0},
};

static_assert(std::size(kCatalogue) == kCataloguePresetCount);

}  // namespace

std::span<const CataloguePreset> PresetCatalogue() { return kCatalogue; }

void DefineFactoryPresets(IFxBase& plugin)
{
    plugin.FillDefaultPresets("---- default ----", 1);
    // Every preset lets LFO 1 sweep "Out Gain" with "Golden Sine" at 15 %, LFO 2 idle: the
    // defaults but for LFO 1's rate and depth.
    VibrascendValues values = VibrascendDefaults();
    values[kLfo1Depth] = 15.0;
    for (const CataloguePreset& preset : kCatalogue) {
        values[kLfo1Freq] = preset.hz;
        plugin.AddPreset(preset.name, values);
    }
}
