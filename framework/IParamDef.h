// One automatable parameter: kind, range, curve, display texts and its current plain value,
// with the conversions between plain and normalized (0..1) values.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// How a parameter follows host automation within a block: frame by frame along the line between
// points, one value per run of frames (the line's value at the run's start), or only at the
// points themselves (lists, switches).
enum class ParamMotion : int32_t {
    Frames,
    Runs,
    Points,
};

enum ParamKind : int32_t {
    kParamNone = 0,
    kParamBool = 1,
    kParamInt = 2,
    kParamEnum = 3,
    kParamDouble = 4
};

constexpr int kParamTextSize = 32;

struct ParamValueText {
    int32_t value;
    char text[kParamTextSize];
};

class IParamDef {
public:
    void DefineDouble(const char* name, double def, double min, double max, double step, const char* label);
    void DefineInt(const char* name, int def, int min, int max, const char* label);
    void DefineEnum(const char* name, int def, int count, const char* label);
    void SetCurve(double shape);
    void AddValueText(int value, const char* text);
    void SetGroup(const char* group);
    void SetMotion(ParamMotion how) { motion = how; }

    // The current plain value. Written by the host's thread and read by the audio thread, so it
    // is an atomic; relaxed order suffices because the value stands alone.
    double Value() const { return value.load(std::memory_order_relaxed); }
    // Stores a plain value clamped into range; a non-finite value leaves the parameter unchanged.
    void SetValueClamped(double plain);
    // A finite plain value as a host edit would leave it: clamped into range and, for every kind
    // but double, rounded to the nearest step.
    double Conform(double plain) const;

    double Normalized() const { return ToNormalized(Value()); }
    double ToNormalized(double plain) const;
    double FromNormalized(double normalized) const;
    // Sets the value from a normalized position (clamped to 0..1, non-finite ignored), quantised
    // to the step for non-double kinds.
    void SetFromNormalized(double normalized);

    // Display text of a plain (or normalized) value into `out` of kParamTextSize bytes.
    void FormatValue(double value, bool isNormalized, char* out) const;
    const char* ValueText(int value) const;
    bool ValueFromText(const char* text, int* valueOut) const;
    int ValueTextCount() const { return static_cast<int>(valueTexts.size()); }
    const ParamValueText* ValueTextAt(int position) const;

    ParamKind Kind() const { return kind; }
    // Frames unless set; enumerations and switches move only at their points.
    ParamMotion Motion() const { return kind == kParamEnum || kind == kParamBool ? ParamMotion::Points : motion; }
    double Min() const { return min; }
    double Max() const { return max; }
    double Step() const { return step; }
    double Shape() const { return shape; }
    double Default() const { return defaultValue; }
    int Precision() const { return precision; }
    bool Automatable() const { return automatable; }
    const char* Name() const { return name; }
    const char* Label() const { return label; }
    const char* Group() const { return group; }

private:
    ParamKind kind = kParamNone;
    ParamMotion motion = ParamMotion::Frames;
    std::atomic<double> value{0.0};
    double min = 0.0;
    double max = 1.0;
    double step = 1.0;
    double shape = 1.0;
    double defaultValue = 0.0;
    int32_t precision = 0;
    char name[kParamTextSize] = {};
    char label[kParamTextSize] = {};
    char group[kParamTextSize] = {};
    bool automatable = true;
    std::vector<ParamValueText> valueTexts;
};

// Copies `src` into a fixed field of `size` bytes, cutting it to fit and always terminating it.
void CopyFixedText(char* dst, int size, const char* src);
