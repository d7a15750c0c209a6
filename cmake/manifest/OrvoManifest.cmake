# The application manifest of every Windows executable (Orvo.manifest): run as the user who
# starts it (asInvoker), Windows 7 to 11 supported, DPI-unaware with GDI scaling, no Common
# Controls 6. The README's "Windows: manifest, signature, DLL search" says why.
#
# orvo_add_manifests()
#   Links the manifest into every executable target of the project, those of the tests and the
#   test bed included, so that all of them behave alike on Windows. Called once, at the end of
#   the top-level CMakeLists, when every target exists.

set(ORVO_MANIFEST_DIR ${CMAKE_CURRENT_LIST_DIR})

function(orvo_executables_of directory result)
  set(found)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    orvo_executables_of(${subdirectory} below)
    list(APPEND found ${below})
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

function(orvo_add_manifests)
  if(NOT WIN32)
    return()
  endif()
  set(ORVO_MANIFEST_FILE ${ORVO_MANIFEST_DIR}/Orvo.manifest)
  set(rc ${CMAKE_BINARY_DIR}/generated/manifest/Manifest.rc)
  configure_file(${ORVO_MANIFEST_DIR}/Manifest.rc.in ${rc} @ONLY)
  orvo_executables_of(${PROJECT_SOURCE_DIR} executables)
  foreach(target IN LISTS executables)
    target_sources(${target} PRIVATE ${rc})
  endforeach()
  # windres reports no dependencies: a changed manifest must rebuild the resource all the same.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${executables}
    PROPERTIES OBJECT_DEPENDS ${ORVO_MANIFEST_FILE})
endfunction()
