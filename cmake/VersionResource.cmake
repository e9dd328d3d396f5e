# The build's version, worked out by BuildVersion.cmake into
# ${IWV_GENERATED_DIR}/common/LibraryVersion.h: once at configure time, and
# again at every build by the target iwvestra_version, which rewrites the
# header only when the version has changed (a new commit, a tag, changes).

set(IWV_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(IWV_VERSION_HEADER ${IWV_GENERATED_DIR}/common/LibraryVersion.h)
set(IWV_COPYRIGHT "Copyright (C) 2026 the IWVestra developers. All rights reserved.")
set(iwv_version_command ${CMAKE_COMMAND}
  -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DBASE_VERSION=${PROJECT_VERSION} -DPRODUCT_NAME=${PROJECT_NAME}
  -DTEMPLATE=${PROJECT_SOURCE_DIR}/src/common/LibraryVersion.h.in -DOUTPUT=${IWV_VERSION_HEADER}
  -P ${PROJECT_SOURCE_DIR}/cmake/BuildVersion.cmake)
execute_process(COMMAND ${iwv_version_command} RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "the build's version could not be worked out")
endif()
add_custom_target(iwvestra_version
  COMMAND ${iwv_version_command}
  BYPRODUCTS ${IWV_VERSION_HEADER}
  COMMENT "The build's version"
  VERBATIM)

# iwv_version_resource(<target> <file name> <description> VFT_APP|VFT_DLL):
# gives a Windows target the version resource every file of the kit carries.
function(iwv_version_resource target file_name description file_type)
  get_filename_component(IWV_RC_INTERNAL_NAME ${file_name} NAME_WE)
  set(IWV_RC_FILE_NAME ${file_name})
  set(IWV_RC_DESCRIPTION ${description})
  set(IWV_RC_TYPE ${file_type})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/VersionResource.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${IWV_GENERATED_DIR})
  add_dependencies(${target} iwvestra_version)
endfunction()
