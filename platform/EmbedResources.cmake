# vibrascend_embed_resources(<target> <script>)
# Makes the OBJECT library <target> holding every file that the resource
# script lists, as the embedded resource table of whatever module links it;
# on Windows the resource compiler builds the same script into the module's
# resources.
# Script lines: <integer id> <TYPE> "<file relative to the script>"; lines
# starting with // or # are comments. A listed file that does not exist
# (yet) is left out with a warning, and adding it re-runs the configure step.
function(vibrascend_embed_resources target script)
  set(generator ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/GenerateResourceTable.cmake)
  get_filename_component(script ${script} ABSOLUTE)
  get_filename_component(folder ${script} DIRECTORY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script} ${folder})
  file(STRINGS ${script} lines)
  set(inputs ${script})
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*([0-9]+)[ \t]+([A-Za-z0-9_]+)[ \t]+\"([^\"]+)\"")
      if(EXISTS ${folder}/${CMAKE_MATCH_3})
        list(APPEND inputs ${folder}/${CMAKE_MATCH_3})
      endif()
    endif()
  endforeach()
  if(WIN32)
    add_library(${target} OBJECT ${script})
    target_include_directories(${target} PRIVATE ${folder})
    list(REMOVE_ITEM inputs ${script})
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${inputs}")
    target_link_libraries(${target} PUBLIC vibrascend_platform)
    return()
  endif()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_table.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DSCRIPT=${script} -DOUTPUT=${output} -P ${generator}
    DEPENDS ${inputs} ${generator}
    COMMENT "Embedding the resources of ${script}"
    VERBATIM)
  add_library(${target} OBJECT ${output})
  target_link_libraries(${target} PUBLIC vibrascend_platform)
endfunction()
