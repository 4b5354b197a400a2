# Builds the VST3 SDK interfaces and base classes shipped by Debian into one static library.
set(SDK ${VIBRASCEND_VST3_SDK})
if(NOT EXISTS ${SDK}/pluginterfaces/base/funknown.h)
  message(FATAL_ERROR "VST3 SDK not found at ${SDK}: run scripts/setup.sh")
endif()
add_library(vst3sdk STATIC
  ${SDK}/pluginterfaces/base/coreiids.cpp
  ${SDK}/pluginterfaces/base/funknown.cpp
  ${SDK}/pluginterfaces/base/ustring.cpp
  ${SDK}/pluginterfaces/base/conststringtable.cpp
  ${SDK}/base/source/baseiids.cpp
  ${SDK}/base/source/fobject.cpp
  ${SDK}/base/source/fdebug.cpp
  ${SDK}/base/source/fstring.cpp
  ${SDK}/base/source/fbuffer.cpp
  ${SDK}/base/source/updatehandler.cpp
  ${SDK}/base/thread/source/flock.cpp
  ${SDK}/public.sdk/source/common/pluginview.cpp
  ${SDK}/public.sdk/source/common/memorystream.cpp
  ${SDK}/public.sdk/source/vst/vstbus.cpp
  ${SDK}/public.sdk/source/vst/vstcomponentbase.cpp
  ${SDK}/public.sdk/source/vst/vsteditcontroller.cpp
  ${SDK}/public.sdk/source/vst/vstinitiids.cpp
  ${SDK}/public.sdk/source/vst/vstparameters.cpp
  ${PROJECT_SOURCE_DIR}/framework/vst3/sdk/InterfaceIds.cpp
)
target_include_directories(vst3sdk SYSTEM PUBLIC ${SDK})
target_include_directories(vst3sdk PRIVATE ${PROJECT_SOURCE_DIR})
# The SDK's release configuration for its own sources; code that includes its headers takes the
# same one from NDEBUG, which every configuration the project builds sets.
target_compile_definitions(vst3sdk PRIVATE RELEASE=1)
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  message(FATAL_ERROR "The VST3 SDK headers need NDEBUG: build Release or RelWithDebInfo")
endif()
target_compile_options(vst3sdk PRIVATE -w)
target_link_libraries(vst3sdk PUBLIC Threads::Threads)
