# Works out the version a build carries, so that two different builds never
# carry the same one:
#   X.Y.Z                    a release: the commit tagged vX.Y.Z, with nothing
#                            changed, where X.Y.Z is project()'s version;
#   X.Y.Z-dev.N.gHASH        any other commit: N commits since the last release
#                            tag (since the first commit when there is none),
#                            HASH the commit;
#   X.Y.Z-dev.N.gHASH.dirty  that commit with uncommitted changes.
# The environment variable IWV_BUILD_VERSION, when set, is the version instead
# of what git says: sources copied without .git (the second build of make
# dist) carry the version of the tree they came from. Without either, the
# version is X.Y.Z-dev.0.unknown.
#
# Windows keeps four 16-bit numbers in a file version: X, Y, Z and 0 for a
# release, N (at least 1, at most 65535) for any other build.
#
#   cmake -DSOURCE_DIR=... -DBASE_VERSION=X.Y.Z -P BuildVersion.cmake
#       prints the version and the file version: "1.1.0-dev.5.g0123456789 1.1.0.5";
#   cmake -DSOURCE_DIR=... -DBASE_VERSION=X.Y.Z -DPRODUCT_NAME=... -DTEMPLATE=... -DOUTPUT=... -P BuildVersion.cmake
#       writes TEMPLATE's @VARIABLES@ into OUTPUT when that changes it, so
#       that what includes OUTPUT is rebuilt only when the version changes.

if(NOT BASE_VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
  message(FATAL_ERROR "BASE_VERSION must be X.Y.Z, not \"${BASE_VERSION}\"")
endif()
set(IWV_VERSION_MAJOR ${CMAKE_MATCH_1})
set(IWV_VERSION_MINOR ${CMAKE_MATCH_2})
set(IWV_VERSION_PATCH ${CMAKE_MATCH_3})

# git's answer, or an empty text when git fails (no git, no repository).
function(git_answer variable)
  execute_process(COMMAND git -C "${SOURCE_DIR}" --no-optional-locks ${ARGN}
    RESULT_VARIABLE failed OUTPUT_VARIABLE answer ERROR_QUIET OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(failed)
    set(answer "")
  endif()
  set(${variable} "${answer}" PARENT_SCOPE)
endfunction()

function(version_from_git variable)
  # Sources unpacked inside some other repository are not its commits.
  git_answer(top rev-parse --show-toplevel)
  get_filename_component(top "${top}" REALPATH)
  get_filename_component(sources "${SOURCE_DIR}" REALPATH)
  set(hash "")
  if(top STREQUAL sources)
    git_answer(hash rev-parse --short=10 HEAD)
  endif()
  if(hash STREQUAL "")
    set(${variable} "${BASE_VERSION}-dev.0.unknown" PARENT_SCOPE)
    return()
  endif()
  git_answer(tag describe --tags --exact-match --match "v${BASE_VERSION}" HEAD)
  git_answer(changes status --porcelain --untracked-files=no)
  if(NOT tag STREQUAL "" AND changes STREQUAL "")
    set(${variable} "${BASE_VERSION}" PARENT_SCOPE)
    return()
  endif()
  git_answer(last_release describe --tags --abbrev=0 --match "v[0-9]*.[0-9]*.[0-9]*" HEAD)
  if(last_release STREQUAL "")
    git_answer(count rev-list --count HEAD)
  else()
    git_answer(count rev-list --count "${last_release}..HEAD")
  endif()
  set(text "${BASE_VERSION}-dev.${count}.g${hash}")
  if(NOT changes STREQUAL "")
    string(APPEND text ".dirty")
  endif()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

if(NOT "$ENV{IWV_BUILD_VERSION}" STREQUAL "")
  set(IWV_PRODUCT_VERSION "$ENV{IWV_BUILD_VERSION}")
else()
  version_from_git(IWV_PRODUCT_VERSION)
endif()

string(REPLACE "." "\\." base_pattern "${BASE_VERSION}")
if(IWV_PRODUCT_VERSION STREQUAL BASE_VERSION)
  set(IWV_VERSION_BUILD 0)
elseif(IWV_PRODUCT_VERSION MATCHES "^${base_pattern}-dev\\.([0-9]+)\\.[0-9A-Za-z.]+$")
  set(IWV_VERSION_BUILD ${CMAKE_MATCH_1})
  if(IWV_VERSION_BUILD LESS 1)
    set(IWV_VERSION_BUILD 1)
  elseif(IWV_VERSION_BUILD GREATER 65535)
    set(IWV_VERSION_BUILD 65535)
  endif()
else()
  message(FATAL_ERROR "version \"${IWV_PRODUCT_VERSION}\" is neither ${BASE_VERSION} nor ${BASE_VERSION}-dev.N.<commit>")
endif()
set(IWV_FILE_VERSION "${BASE_VERSION}.${IWV_VERSION_BUILD}")
if(IWV_VERSION_BUILD EQUAL 0)
  set(IWV_FILE_FLAGS 0x0L)
else()
  set(IWV_FILE_FLAGS 0x2L)
endif()

if(NOT DEFINED OUTPUT)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${IWV_PRODUCT_VERSION} ${IWV_FILE_VERSION}")
  return()
endif()
file(READ "${TEMPLATE}" template)
string(CONFIGURE "${template}" content @ONLY)
set(current "")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" current)
endif()
if(NOT current STREQUAL content)
  file(WRITE "${OUTPUT}" "${content}")
endif()
