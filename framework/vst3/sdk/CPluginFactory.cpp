#include "framework/vst3/sdk/CPluginFactory.h"

#include <cstring>

namespace Steinberg {

CPluginFactory::CPluginFactory(const PFactoryInfo& info) : factoryInfo(info) {}

bool CPluginFactory::registerClass(const PClassInfo2& info, CreateFunction create, void* context)
{
    if (!create)
        return false;
    classes.push_back({info, create, context});
    return true;
}

bool CPluginFactory::isClassRegistered(const FUID& cid) const
{
    for (const auto& entry : classes)
        if (FUID::fromTUID(entry.info.cid) == cid)
            return true;
    return false;
}

tresult PLUGIN_API CPluginFactory::queryInterface(const TUID iid, void** obj)
{
    if (FUnknownPrivate::iidEqual(iid, IPluginFactory2::iid) || FUnknownPrivate::iidEqual(iid, IPluginFactory::iid) ||
        FUnknownPrivate::iidEqual(iid, FUnknown::iid)) {
        addRef();
        *obj = static_cast<IPluginFactory2*>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef() { return ++refCount; }

uint32 PLUGIN_API CPluginFactory::release()
{
    const uint32 left = --refCount;
    if (left == 0)
        delete this;
    return left;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (!info)
        return kInvalidArgument;
    std::memcpy(info, &factoryInfo, sizeof(PFactoryInfo));
    return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses() { return static_cast<int32>(classes.size()); }

tresult PLUGIN_API CPluginFactory::getClassInfo(int32 index, PClassInfo* info)
{
    if (!info || index < 0 || index >= countClasses())
        return kInvalidArgument;
    const PClassInfo2& src = classes[static_cast<size_t>(index)].info;
    std::memcpy(info->cid, src.cid, sizeof(TUID));
    info->cardinality = src.cardinality;
    std::memcpy(info->category, src.category, sizeof(info->category));
    std::memcpy(info->name, src.name, sizeof(info->name));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2(int32 index, PClassInfo2* info)
{
    if (!info || index < 0 || index >= countClasses())
        return kInvalidArgument;
    std::memcpy(info, &classes[static_cast<size_t>(index)].info, sizeof(PClassInfo2));
    return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance(FIDString cid, FIDString iid, void** obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!cid || !iid)
        return kInvalidArgument;
    for (const auto& entry : classes) {
        if (!FUnknownPrivate::iidEqual(entry.info.cid, cid))
            continue;
        FUnknown* instance = entry.create(entry.context);
        if (!instance)
            return kOutOfMemory;
        const tresult result = instance->queryInterface(iid, obj);
        instance->release();
        if (result != kResultOk)
            *obj = nullptr;
        return result == kResultOk ? kResultOk : kNoInterface;
    }
    return kNoInterface;
}

}  // namespace Steinberg
