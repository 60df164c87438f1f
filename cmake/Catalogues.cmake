# Builds locale/<lang>/LC_MESSAGES/<domain>.mo beside the program from po/<domain>/<lang>.po.
find_program(MSGFMT msgfmt REQUIRED)
file(GLOB PO_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/po/*/*.po)
set(MO_FILES)
foreach(po ${PO_FILES})
  get_filename_component(lang ${po} NAME_WE)
  get_filename_component(dir ${po} DIRECTORY)
  get_filename_component(domain ${dir} NAME)
  set(mo ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES/${domain}.mo)
  add_custom_command(OUTPUT ${mo}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/locale/${lang}/LC_MESSAGES
    COMMAND ${MSGFMT} --check -o ${mo} ${po}
    DEPENDS ${po} VERBATIM)
  list(APPEND MO_FILES ${mo})
endforeach()
add_custom_target(catalogues ALL DEPENDS ${MO_FILES})
