# Builds GLFW 3.3.8 from the source that scripts/setup unpacked into third_party/.
# The pinned source stays untouched: it is copied into the build tree, our
# patches from glfw-addition/ are applied to the copy, and the copy is built.
set(CORVELLE_GLFW_SOURCE "${PROJECT_SOURCE_DIR}/third_party/glfw-3.3.8" CACHE PATH "GLFW 3.3.8 source, as scripts/setup unpacks it")
if(NOT EXISTS "${CORVELLE_GLFW_SOURCE}/CMakeLists.txt")
  message(FATAL_ERROR "GLFW source not found in ${CORVELLE_GLFW_SOURCE}: run scripts/setup first")
endif()

set(CORVELLE_GLFW_PATCHED "${CMAKE_BINARY_DIR}/glfw-src")
file(GLOB CORVELLE_GLFW_PATCHES CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/glfw-addition/*.patch")
list(SORT CORVELLE_GLFW_PATCHES)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CORVELLE_GLFW_PATCHES})

file(REMOVE_RECURSE "${CORVELLE_GLFW_PATCHED}")
file(COPY "${CORVELLE_GLFW_SOURCE}/" DESTINATION "${CORVELLE_GLFW_PATCHED}")
foreach(patch_file IN LISTS CORVELLE_GLFW_PATCHES)
  execute_process(COMMAND patch -p1 --forward --silent -i "${patch_file}"
                  WORKING_DIRECTORY "${CORVELLE_GLFW_PATCHED}"
                  RESULT_VARIABLE patch_result)
  if(NOT patch_result EQUAL 0)
    message(FATAL_ERROR "Could not apply ${patch_file} to GLFW")
  endif()
endforeach()

set(GLFW_BUILD_EXAMPLES OFF CACHE BOOL "" FORCE)
set(GLFW_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(GLFW_BUILD_DOCS OFF CACHE BOOL "" FORCE)
set(GLFW_INSTALL OFF CACHE BOOL "" FORCE)
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
add_subdirectory("${CORVELLE_GLFW_PATCHED}" "${CMAKE_BINARY_DIR}/glfw-build" EXCLUDE_FROM_ALL)
# GLFW's own sources are third-party: keep our warning flags away from them.
set_target_properties(glfw PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
# GLFW's internal header, for the operations we add inside the library.
set(CORVELLE_GLFW_INTERNAL_INCLUDE "${CORVELLE_GLFW_PATCHED}/src")
