# corvelle_embed_resources(TARGET SCRIPT): gives an executable the resources
# that a resource script lists. Windows: windres compiles the script into the
# executable. Linux: tools/embed_resources.py turns the same script into the
# resource table (platform/resource_table.h) at build time.
function(corvelle_embed_resources target script)
  get_filename_component(script "${script}" ABSOLUTE)
  if(WIN32)
    target_sources(${target} PRIVATE "${script}")
    # windres writes no dependency file, so name the files the script embeds:
    # a changed shader text or picture then rebuilds the executable.
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${script}")
    get_filename_component(base "${script}" DIRECTORY)
    file(STRINGS "${script}" statements REGEX "^[ \t]*[0-9]+[ \t]+[A-Za-z0-9_]+[ \t]+\"[^\"]+\"")
    foreach(statement IN LISTS statements)
      string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" embedded "${statement}")
      get_filename_component(embedded "${embedded}" ABSOLUTE BASE_DIR "${base}")
      set_property(SOURCE "${script}" APPEND PROPERTY OBJECT_DEPENDS "${embedded}")
    endforeach()
  else()
    set(table "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
    add_custom_command(
      OUTPUT "${table}"
      COMMAND "${Python3_EXECUTABLE}" "${PROJECT_SOURCE_DIR}/tools/embed_resources.py"
              "${script}" "${table}" "${table}.d"
      DEPENDS "${script}" "${PROJECT_SOURCE_DIR}/tools/embed_resources.py"
      DEPFILE "${table}.d"
      COMMENT "Embedding the resources of ${script}"
      VERBATIM)
    target_sources(${target} PRIVATE "${table}")
  endif()
endfunction()
