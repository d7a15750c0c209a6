# The version of every deliverable comes from the project() line of the top CMakeLists.
#
# orvo_version target: an interface library whose include folder holds the generated
#   OrvoVersion.h (numbers and text of the version).
# orvo_add_version_resource(<target> DESCRIPTION <text>)
#   Gives a Windows binary its VERSIONINFO resource, with that version.
# orvo_stamp_config_version(<CONFIG.INI> <output>)
#   Writes a copy of a CONFIG.INI whose VERSIONNO (the main window's version text) is that version.

set(ORVO_VERSION_DIR ${CMAKE_BINARY_DIR}/generated/version)
set(ORVO_VERSION_RESOURCE_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionInfo.rc.in)
configure_file(${CMAKE_CURRENT_LIST_DIR}/OrvoVersion.h.in ${ORVO_VERSION_DIR}/OrvoVersion.h @ONLY)
add_library(orvo_version INTERFACE)
target_include_directories(orvo_version INTERFACE ${ORVO_VERSION_DIR})

function(orvo_add_version_resource target)
  cmake_parse_arguments(arg "" "DESCRIPTION" "" ${ARGN})
  get_target_property(type ${target} TYPE)
  get_target_property(name ${target} OUTPUT_NAME)
  if(NOT name)
    set(name ${target})
  endif()
  set(ORVO_INTERNAL_NAME ${name})
  if(type STREQUAL "EXECUTABLE")
    set(ORVO_FILE_NAME ${name}.exe)
    set(ORVO_FILE_TYPE VFT_APP)
  else()
    set(ORVO_FILE_NAME ${name}.dll)
    set(ORVO_FILE_TYPE VFT_DLL)
  endif()
  set(ORVO_FILE_DESCRIPTION ${arg_DESCRIPTION})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${ORVO_VERSION_RESOURCE_TEMPLATE} ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_link_libraries(${target} PRIVATE orvo_version)
endfunction()

function(orvo_stamp_config_version source output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} config)
  string(REGEX REPLACE "VERSIONNO=[^\r\n]*" "VERSIONNO=V${PROJECT_VERSION}" config "${config}")
  # CMake reads the lines without their CR; the tool's files keep Windows line ends. Written only
  # when it changes, so that a new configure run rebuilds nothing.
  file(CONFIGURE OUTPUT ${output} CONTENT "${config}" @ONLY NEWLINE_STYLE CRLF)
endfunction()
