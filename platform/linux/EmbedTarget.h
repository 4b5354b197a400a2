// What a Linux host hands the editor window to open in: the X window id to embed into and the
// run loop that drives the window. Passed as the parent of IGraphics::OpenWindow.
#pragma once

#include "platform/linux/EditorRunLoop.h"

struct EmbedTarget {
    unsigned long parentWindow = 0;  // X window id of the host's container
    IEditorRunLoop* runLoop = nullptr;  // not owned; outlives the open window
};
