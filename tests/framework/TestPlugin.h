// A small plug-in on the framework for testing the base and the binding without the effect:
// three parameters, four preset slots, and a record of every applied change.
#pragma once

#include "framework/vst3/IFxVST3.h"

#include <vector>

class TestPlugin : public IFxVST3 {
public:
    static constexpr IFxDeclaration kDeclaration{3,       "1-1 2-2",  4,          "Test",     "",
                                                 "Maker", 0x00010A00, 0x74657374, 0x4D616B72, 0};

    TestPlugin() : IFxBase(kDeclaration), IFxVST3(kDeclaration)
    {
        GetParam(0)->DefineInt("Count", 5, 0, 10, "");
        GetParam(1)->DefineDouble("Level", 1.5, -2, 2, 0.5, "dB");
        GetParam(2)->DefineEnum("Mode", 1, 3, "");
        GetParam(2)->AddValueText(0, "A");
        GetParam(2)->AddValueText(1, "B");
        GetParam(2)->AddValueText(2, "C");
    }

    void ParamChanged(int index) override
    {
        applied.push_back(index);
        processingEnabled = true;
    }

    void ProcessBlock(double** inputs, double** outputs, int frames) override
    {
        blocks.push_back(frames);
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < frames; ++i)
                outputs[c][i] = inputs[c][i] * 2.0;
    }

    using IFxBase::processingEnabled;
    std::vector<int> applied;
    std::vector<int> blocks;
};
