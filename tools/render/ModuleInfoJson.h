// The description of a module that hosts read without loading it (Contents/Resources/
// moduleinfo.json): the factory's information and every class it offers, as the factory answers.
#pragma once

#include <pluginterfaces/base/ipluginbase.h>

#include <filesystem>
#include <string>

namespace vibrascend::render {

// A class id as VST3 writes it in text on this platform (32 hexadecimal digits).
std::string ClassIdText(const Steinberg::TUID cid);

// The JSON text for a module called `moduleName` whose bundle keeps its resources in
// `resources`; each class lists the snapshot files found there. Throws HostError when the
// factory offers no class.
std::string ModuleInfoJson(Steinberg::IPluginFactory& factory, const std::string& moduleName,
                           const std::filesystem::path& resources);

}  // namespace vibrascend::render
