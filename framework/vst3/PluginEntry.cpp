// The module's exported entry points: the host loads the library, calls InitDll (on Linux through
// ModuleEntry) and GetPluginFactory, and creates plug-in objects through the factory.
#include "framework/vst3/PluginEntry.h"

#include "framework/vst3/IFxVST3.h"
#include "framework/ModuleInstance.h"
#include "framework/vst3/sdk/CPluginFactory.h"
#include "platform/LoadedModule.h"
#include "platform/ModuleInfo.h"
#include "platform/RecursiveLock.h"

#include "pluginterfaces/base/funknown.h"

#include <mutex>
#include <new>

#if defined(_WIN32)
#define VIBRASCEND_EXPORT extern "C" __declspec(dllexport)
#else
#define VIBRASCEND_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using namespace Steinberg;

namespace {

constexpr uint32 kFactoryInfoFilled = 1;
constexpr uint32 kClassInfoFilled = 2;

class ModuleFactory;

ModuleFactory* factory = nullptr;
uint32 filledRecords = 0;
PFactoryInfo factoryInfo;
PClassInfo2 classInfo;

// The factory lives until the host releases its last reference; a later call makes a new one.
class ModuleFactory : public CPluginFactory {
public:
    using CPluginFactory::CPluginFactory;
    ~ModuleFactory() override { factory = nullptr; }
};

platform::RecursiveLock& CreationLock()
{
    static platform::RecursiveLock lock;
    return lock;
}

// Words 1 and 2 are constants of the framework, words 3 and 4 the maker's and the plug-in's
// four-character codes, laid out in the COM-compatible byte order of VST3 class ids on every
// platform, so that the id is the same wherever the plug-in runs.
void PluginClassId(TUID cid)
{
    const uint32 w1 = 0xF2AEE70D;
    const uint32 w2 = 0x00DE4F4E;
    const uint32 w3 = kPluginDescription.manufacturerId;
    const uint32 w4 = kPluginDescription.uniqueId;
    const uint8 bytes[16] = {
        uint8(w1),       uint8(w1 >> 8),  uint8(w1 >> 16), uint8(w1 >> 24), uint8(w2 >> 16), uint8(w2 >> 24),
        uint8(w2),       uint8(w2 >> 8),  uint8(w3 >> 24), uint8(w3 >> 16), uint8(w3 >> 8),  uint8(w3),
        uint8(w4 >> 24), uint8(w4 >> 16), uint8(w4 >> 8),  uint8(w4),
    };
    for (int i = 0; i < 16; ++i)
        cid[i] = static_cast<char>(bytes[i]);
}

FUnknown* CreateInstance(void*)
{
    std::lock_guard<platform::RecursiveLock> guard(CreationLock());
    IFxVST3* plugin = CreatePluginInstance();
    return plugin ? static_cast<Vst::IAudioProcessor*>(plugin) : nullptr;
}

}  // namespace

VIBRASCEND_EXPORT bool InitDll();

VIBRASCEND_EXPORT IPluginFactory* PLUGIN_API GetPluginFactory()
{
    if (factory) {
        factory->addRef();
        return factory;
    }
    if (!(filledRecords & kFactoryInfoFilled)) {
        factoryInfo = PFactoryInfo(kPluginDescription.vendor, kPluginDescription.url, "", PFactoryInfo::kUnicode);
        filledRecords |= kFactoryInfoFilled;
    }
    if (!ModuleInstance())
        InitDll();
    factory = new (std::nothrow) ModuleFactory(factoryInfo);
    if (!factory)
        return nullptr;
    if (!(filledRecords & kClassInfoFilled)) {
        TUID cid;
        PluginClassId(cid);
        classInfo = PClassInfo2(cid, PClassInfo::kManyInstances, kVstAudioEffectClass, kPluginDescription.name,
                                Vst::kSimpleModeSupported, kPluginDescription.subCategories, "",
                                kPluginDescription.version, "VST 3.6.5");
        filledRecords |= kClassInfoFilled;
    }
    factory->registerClass(classInfo, CreateInstance);
    return factory;
}

VIBRASCEND_EXPORT bool InitDll()
{
    void* loaded = platform::LoadedModule();
    SetModuleInstance(loaded ? loaded : ModuleHandleOf(reinterpret_cast<const void*>(&InitDll)));
    return true;
}

VIBRASCEND_EXPORT bool ExitDll() { return true; }

#if !defined(_WIN32)
// The handle the host passes is its own dlopen handle; the module is identified by its load
// address, which is what the library's resource lookup matches against. On Windows DllMain
// records the module handle instead, and hosts call InitDll/ExitDll themselves.
VIBRASCEND_EXPORT bool ModuleEntry(void*)
{
    platform::RecordLoadedModule(ModuleHandleOf(reinterpret_cast<const void*>(&InitDll)));
    return InitDll();
}

VIBRASCEND_EXPORT bool ModuleExit() { return ExitDll(); }
#endif
