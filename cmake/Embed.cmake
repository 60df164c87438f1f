# Resource files built into a target as byte arrays.
#
#   kardun_embed(<target> <function> <file>...)
#
# generates, at build time, <build>/generated/<function>.cpp defining
#
#   std::string_view <function>(std::string_view Name);
#
# which returns the bytes of the embedded file with that file name (no folder), or an empty
# view for a name that was not embedded. The generated file is rebuilt whenever one of the
# files changes. The code that reads the resources declares the function itself.
#
# The same file runs in script mode (cmake -P) to write the generated source.

if(CMAKE_SCRIPT_MODE_FILE)
  # ---- script mode: EMBED_OUTPUT, EMBED_FUNCTION, EMBED_FILES ("|"-separated) ----
  string(REPLACE "|" ";" files "${EMBED_FILES}")
  set(body "// Generated at build time from the resource files; do not edit.\n")
  string(APPEND body "#include <string_view>\n\nnamespace {\n\n")
  set(table "")
  set(index 0)
  foreach(file IN LISTS files)
    get_filename_component(name "${file}" NAME)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" hex_length)
    math(EXPR size "${hex_length} / 2")
    # Sixteen bytes a line.
    set(bytes "")
    set(offset 0)
    while(offset LESS hex_length)
      string(SUBSTRING "${hex}" ${offset} 32 line)
      string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," line "${line}")
      if(offset GREATER 0)
        string(APPEND bytes "\n    ")
      endif()
      string(APPEND bytes "${line}")
      math(EXPR offset "${offset} + 32")
    endwhile()
    # An empty file still needs one element; its size stays 0.
    if(size EQUAL 0)
      set(bytes "0")
    endif()
    string(APPEND body "// ${name}\nconst unsigned char Data_${index}[] = {\n    ${bytes}\n};\n\n")
    string(APPEND table "    {\"${name}\", Data_${index}, ${size}u},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  string(APPEND body "struct Entry {\n    const char* Name;\n    const unsigned char* Data;\n")
  string(APPEND body "    unsigned long Size;\n};\n\n")
  string(APPEND body "const Entry Entries[] = {\n${table}    {nullptr, nullptr, 0u}\n};\n\n")
  string(APPEND body "}  // namespace\n\n")
  string(APPEND body "std::string_view ${EMBED_FUNCTION}(std::string_view Name)\n{\n")
  string(APPEND body "    for (const Entry* E = Entries; E->Name; ++E)\n")
  string(APPEND body "        if (Name == E->Name)\n")
  string(APPEND body "            return std::string_view(reinterpret_cast<const char*>(E->Data), E->Size);\n")
  string(APPEND body "    return {};\n}\n")
  # Write through a temporary file so an interrupted build never leaves half a source.
  file(WRITE "${EMBED_OUTPUT}.tmp" "${body}")
  file(RENAME "${EMBED_OUTPUT}.tmp" "${EMBED_OUTPUT}")
  return()
endif()

set(KARDUN_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

function(kardun_embed target function)
  set(files ${ARGN})
  if(NOT files)
    message(FATAL_ERROR "kardun_embed(${target} ${function}): no files given")
  endif()
  set(absolute "")
  foreach(file IN LISTS files)
    get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND absolute "${path}")
  endforeach()
  string(REPLACE ";" "|" joined "${absolute}")
  set(output "${CMAKE_BINARY_DIR}/generated/${function}.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/generated"
    COMMAND ${CMAKE_COMMAND} "-DEMBED_OUTPUT=${output}" "-DEMBED_FUNCTION=${function}"
            "-DEMBED_FILES=${joined}" -P "${KARDUN_EMBED_SCRIPT}"
    DEPENDS ${absolute} "${KARDUN_EMBED_SCRIPT}"
    COMMENT "Embedding resources into ${function}.cpp"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
