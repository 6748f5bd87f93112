# Report layouts (*.rav) lie beside the program in ${NC_BIN_DIR}, where the program looks for them at
# run time from its build folder; they are installed into ${NC_INSTALL_SHARE_DIR}. A folder that owns layouts lists them once:
#
#   nc_add_layouts(nc_person_layouts layouts/tzbg.rav layouts/yftzbg.rav layouts/rmtzbg.rav)
#
# which makes a target (built with everything) that copies each file when it changed. Programs that
# run reports from the program's folder (the program itself, the gallery) call
#
#   nc_depend_on_layouts(nutricounsel)
#
# after every layout folder has been added, so building them also brings the layouts up to date.

function(nc_add_layouts name)
  if(NOT ARGN)
    message(FATAL_ERROR "nc_add_layouts(${name}): no layout files given")
  endif()
  set(outputs)
  foreach(layout IN LISTS ARGN)
    get_filename_component(source ${layout} ABSOLUTE)
    get_filename_component(file ${layout} NAME)
    set(target_file ${NC_BIN_DIR}/${file})
    add_custom_command(
      OUTPUT ${target_file}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${target_file}
      DEPENDS ${source}
      COMMENT "Layout ${file} beside the program"
      VERBATIM)
    list(APPEND outputs ${target_file})
  endforeach()
  add_custom_target(${name} ALL DEPENDS ${outputs} SOURCES ${ARGN})
  install(FILES ${ARGN} DESTINATION ${NC_INSTALL_SHARE_DIR})
  set_property(GLOBAL APPEND PROPERTY NC_LAYOUT_TARGETS ${name})
endfunction()

function(nc_depend_on_layouts target)
  get_property(layout_targets GLOBAL PROPERTY NC_LAYOUT_TARGETS)
  if(layout_targets)
    add_dependencies(${target} ${layout_targets})
  endif()
endfunction()
