# target_def_file(TARGET FILE): exports a library's entries through a
# module-definition file. The files name the 32-bit stdcall symbols
# (Name@bytes, undecorated by --kill-at at link time). 64-bit Windows has
# one calling convention and no decoration: there the decorations are
# dropped and the LIBRARY line names the target's own output file.
function(target_def_file target def)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(READ ${CMAKE_CURRENT_SOURCE_DIR}/${def} text)
    string(REGEX REPLACE "([A-Za-z_][A-Za-z0-9_]*)@[0-9]+" "\\1" text "${text}")
    get_target_property(name ${target} OUTPUT_NAME)
    get_target_property(suffix ${target} SUFFIX)
    string(REGEX REPLACE "LIBRARY [^\n]*" "LIBRARY ${name}${suffix}" text "${text}")
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    file(CONFIGURE OUTPUT ${out} CONTENT "${text}" @ONLY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${def})
    target_sources(${target} PRIVATE ${out})
  else()
    target_sources(${target} PRIVATE ${def})
  endif()
endfunction()
