// The subcommands of vibrascend-render, each run to completion or ended by a HostError.
#pragma once

#include "CommandLine.h"

#include <filesystem>

namespace vibrascend::render {

void RunDemo(const host::CommandLine& line, const std::filesystem::path& bundle);
void RunRender(const host::CommandLine& line, const std::filesystem::path& bundle);
void RunParams(const std::filesystem::path& bundle);
void RunPresets(const std::filesystem::path& bundle);
void RunEditor(const host::CommandLine& line, const std::filesystem::path& bundle);
void RunSnapshot(const host::CommandLine& line, const std::filesystem::path& bundle);

}  // namespace vibrascend::render
