// vibrascend-lv2-turtle: writes the LV2 bundle's Turtle files from the effect's declaration.
#include "BundleFiles.h"
#include "EffectDescription.h"
#include "Lv2TurtleCommandLine.h"
#include "effect/CLS_VIBRASCEND.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kFailed = 1;
constexpr int kMalformedCommandLine = 2;

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "vibrascend-lv2-turtle: %s\n", message.c_str());
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    using namespace vibrascend::lv2turtle;
    const Lv2TurtleCommand command = ParseLv2TurtleCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!command.error.empty())
        return Fail(kMalformedCommandLine, command.error);
    try {
        CLS_VIBRASCEND effect;
        WriteBundleFiles(command.options.outDir, DescribeEffect(effect, command.options));
    } catch (const std::exception& error) {
        return Fail(kFailed, error.what());
    }
    return 0;
}
