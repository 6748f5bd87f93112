# One static library of ours, declared once:
#
#   nc_add_library(nc_diet_core
#     SOURCES diet_record.h diet_record.cpp ...
#     DEPENDS nc_data Qt6::Core              # named in the library's own headers: passed on to users
#     PRIVATE_DEPENDS nc_report_core)        # used only inside its .cpp files
#
# The library gets the common warnings (nc_warnings) and the source root as a private include folder
# (nc_source_root), so includes read "data/query.h" everywhere without every target exporting the
# root to everything that links it. Every library is also written, with its folder, files and
# dependencies, to ${NC_LIBRARY_LIST} when configuring ends; the architecture test
# (tests/architecture/) checks that list and the includes of each file against the table of allowed
# dependencies in docs/architecture.md.

set(NC_LIBRARY_LIST ${CMAKE_BINARY_DIR}/architecture/libraries.cmake)

function(nc_add_library name)
  cmake_parse_arguments(L "" "" "SOURCES;DEPENDS;PRIVATE_DEPENDS" ${ARGN})
  if(L_UNPARSED_ARGUMENTS OR NOT L_SOURCES)
    message(FATAL_ERROR "nc_add_library(${name} SOURCES … DEPENDS … PRIVATE_DEPENDS …): got ${ARGN}")
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_DEPENDS} PRIVATE ${L_PRIVATE_DEPENDS} nc_source_root nc_warnings)

  file(RELATIVE_PATH folder ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(files)
  foreach(source IN LISTS L_SOURCES)
    get_filename_component(path ${source} ABSOLUTE)
    file(RELATIVE_PATH path ${CMAKE_SOURCE_DIR} ${path})
    list(APPEND files ${path})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY NC_LIBRARIES ${name})
  set_property(GLOBAL PROPERTY NC_LIBRARY_${name}_FOLDER ${folder})
  set_property(GLOBAL PROPERTY NC_LIBRARY_${name}_FILES ${files})
  set_property(GLOBAL PROPERTY NC_LIBRARY_${name}_DEPENDS ${L_DEPENDS} ${L_PRIVATE_DEPENDS})
endfunction()

# Writes the list of libraries (a CMake script setting NC_LIBRARIES and, per library,
# NC_LIBRARY_<name>_FOLDER, _FILES and _DEPENDS); called once the whole tree has been read.
function(nc_write_library_list)
  get_property(libraries GLOBAL PROPERTY NC_LIBRARIES)
  set(text "# Written by cmake/NcLibrary.cmake: our libraries, their files and dependencies.\n")
  string(APPEND text "set(NC_LIBRARIES \"${libraries}\")\n")
  foreach(name IN LISTS libraries)
    foreach(part FOLDER FILES DEPENDS)
      get_property(value GLOBAL PROPERTY NC_LIBRARY_${name}_${part})
      string(APPEND text "set(NC_LIBRARY_${name}_${part} \"${value}\")\n")
    endforeach()
  endforeach()
  file(CONFIGURE OUTPUT ${NC_LIBRARY_LIST} CONTENT "${text}" @ONLY)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL nc_write_library_list)
