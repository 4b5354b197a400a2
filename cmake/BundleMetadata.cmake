# What hosts read of the bundle without loading it: Contents/Resources/moduleinfo.json and the
# editor snapshots it lists, made by the command-line host from the built module (for Windows by
# the Windows build of it, under the emulator); on Windows also the folder icon Explorer shows
# (desktop.ini, PlugIn.ico). VIBRASCEND_BUNDLE_METADATA lists the files, for the packages.
set(VIBRASCEND_BUNDLE_RESOURCES ${VIBRASCEND_BUNDLE_DIR}/Contents/Resources)
set(VIBRASCEND_BUNDLE_METADATA "")
set(VIBRASCEND_MODULEINFO "")
set(run_tool "")
set(can_run ON)
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # The build's own Wine prefix (scripts/windows-test.sh makes it before building), without the
    # engines Wine would offer to download.
    set(run_tool ${CMAKE_COMMAND} -E env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
                 WINEDLLOVERRIDES=mscoree,mshtml= ${CMAKE_CROSSCOMPILING_EMULATOR})
  else()
    message(WARNING "No emulator runs the Windows programs: the bundle gets no moduleinfo.json and no snapshots")
    set(can_run OFF)
  endif()
endif()
if(can_run)
  set(VIBRASCEND_MODULEINFO ${VIBRASCEND_BUNDLE_RESOURCES}/moduleinfo.json)
  add_custom_command(OUTPUT ${VIBRASCEND_MODULEINFO}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${VIBRASCEND_BUNDLE_RESOURCES}
    COMMAND ${run_tool} $<TARGET_FILE:vibrascend-render> moduleinfo --snapshots --plugin ${VIBRASCEND_BUNDLE_DIR}
            ${VIBRASCEND_MODULEINFO}
    DEPENDS Vibrascend vibrascend-render
    COMMENT "Describing Vibrascend.vst3: moduleinfo.json and the editor snapshots"
    VERBATIM)
  list(APPEND VIBRASCEND_BUNDLE_METADATA ${VIBRASCEND_MODULEINFO})
endif()

if(WIN32)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  set(icon_source ${PROJECT_SOURCE_DIR}/img/knob.png)
  set(icon_script ${PROJECT_SOURCE_DIR}/packaging/windows/plugin-icon.py)
  set(folder_settings ${PROJECT_SOURCE_DIR}/packaging/windows/desktop.ini)
  add_custom_command(OUTPUT ${VIBRASCEND_BUNDLE_DIR}/PlugIn.ico ${VIBRASCEND_BUNDLE_DIR}/desktop.ini
    COMMAND Python3::Interpreter ${icon_script} ${icon_source} ${VIBRASCEND_BUNDLE_DIR}/PlugIn.ico
    COMMAND ${CMAKE_COMMAND} -E copy ${folder_settings} ${VIBRASCEND_BUNDLE_DIR}
    DEPENDS ${icon_source} ${icon_script} ${folder_settings}
    COMMENT "Vibrascend.vst3: folder icon"
    VERBATIM)
  list(APPEND VIBRASCEND_BUNDLE_METADATA ${VIBRASCEND_BUNDLE_DIR}/PlugIn.ico ${VIBRASCEND_BUNDLE_DIR}/desktop.ini)
endif()
add_custom_target(vibrascend_bundle_metadata ALL DEPENDS ${VIBRASCEND_BUNDLE_METADATA})
