// The subcommands of vibrascend-render, each run to completion or ended by a HostError.
#pragma once

#include "command_line.h"

#include <filesystem>

namespace vibrascend::render {

void runDemo(const host::CommandLine& line, const std::filesystem::path& bundle);
void runRender(const host::CommandLine& line, const std::filesystem::path& bundle);
void runParams(const std::filesystem::path& bundle);
void runPresets(const std::filesystem::path& bundle);
void runEditor(const host::CommandLine& line, const std::filesystem::path& bundle);
void runSnapshot(const host::CommandLine& line, const std::filesystem::path& bundle);

}  // namespace vibrascend::render
