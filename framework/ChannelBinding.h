// Per-channel audio bookkeeping of the plug-in base: the allowed channel pairs and where each
// channel's samples live during a block.
#pragma once

#include "framework/GrowBuf.h"

struct ChannelPair {
    int inputs;
    int outputs;
};

struct InChannelBinding {
    bool connected = true;
    double** entry = nullptr;  // this channel's slot in the input pointer array
    GrowBuf scratch;           // doubles: converted 32-bit input, or zeros when unconnected
};

struct OutChannelBinding {
    bool connected = true;
    double** entry = nullptr;  // this channel's slot in the output pointer array
    float* destination = nullptr;
    GrowBuf scratch;
};
