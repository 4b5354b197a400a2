# Writes a C++ source holding the files listed in a resource script and the
# table that platform::EmbeddedResources() answers. Run with cmake -P and
# -DSCRIPT=<script> -DOUTPUT=<source>.
get_filename_component(folder ${SCRIPT} DIRECTORY)
file(STRINGS ${SCRIPT} lines)
set(arrays "")
set(entries "")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]*(//|#)" OR line MATCHES "^[ \t]*$")
    continue()
  endif()
  if(NOT line MATCHES "^[ \t]*([0-9]+)[ \t]+([A-Za-z0-9_]+)[ \t]+\"([^\"]+)\"")
    message(FATAL_ERROR "${SCRIPT}: cannot read the line '${line}'")
  endif()
  set(id ${CMAKE_MATCH_1})
  set(type ${CMAKE_MATCH_2})
  set(file ${folder}/${CMAKE_MATCH_3})
  if(NOT EXISTS ${file})
    message(WARNING "${SCRIPT}: ${CMAKE_MATCH_3} does not exist; resource ${id} is left out")
    continue()
  endif()
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){24})" "\\1\n" bytes "${bytes}")
  string(APPEND arrays "alignas(8) const std::uint8_t kResource${count}[] = {\n${bytes}\n};\n")
  string(APPEND entries "    {\"${type}\", ${id}, kResource${count}, ${size}},\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  set(arrays "")
  set(entries "    {\"\", -1, nullptr, 0},\n")
endif()
file(WRITE ${OUTPUT}.tmp
"// Generated from ${SCRIPT}; do not edit.
#include \"EmbeddedResources.h\"

namespace platform {
namespace {
${arrays}
const EmbeddedResource kEntries[] = {
${entries}};
}  // namespace

const EmbeddedResourceTable& EmbeddedResources() {
  static const EmbeddedResourceTable table{kEntries, ${count}};
  return table;
}

}  // namespace platform
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
