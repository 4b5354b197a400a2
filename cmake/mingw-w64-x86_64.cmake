# Cross build for Windows x64 with Debian's mingw-w64 (POSIX threads) compilers. Programs built
# here run under Wine; CTest runs the test programs through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VIBRASCEND_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VIBRASCEND_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VIBRASCEND_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VIBRASCEND_MINGW_TRIPLE}-windres)
set(CMAKE_OBJDUMP ${VIBRASCEND_MINGW_TRIPLE}-objdump CACHE FILEPATH "objdump for Windows images")

# Libraries and headers: the toolchain's own, and the static libpng that scripts/setup.sh builds
# into the project's .deps/win64.
get_filename_component(VIBRASCEND_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../.deps/win64 ABSOLUTE)
set(CMAKE_FIND_ROOT_PATH /usr/${VIBRASCEND_MINGW_TRIPLE} ${VIBRASCEND_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_INCLUDE_DIR /usr/${VIBRASCEND_MINGW_TRIPLE}/include CACHE PATH "zlib headers for Windows")
set(ZLIB_LIBRARY /usr/${VIBRASCEND_MINGW_TRIPLE}/lib/libz.a CACHE FILEPATH "static zlib for Windows")

# Programs and the plug-in carry their C and C++ runtimes and threads inside, so that they need
# only the DLLs every Windows system has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

# Debian keeps the 64-bit loader beside its wrapper script, which would look for a 32-bit Wine too.
find_program(VIBRASCEND_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(VIBRASCEND_WINE NAMES wine64 wine)
if(VIBRASCEND_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VIBRASCEND_WINE})
endif()
