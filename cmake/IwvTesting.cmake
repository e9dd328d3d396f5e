# GoogleTest for both builds and one helper that adds a test program.
#
# The native build uses Debian's prebuilt GoogleTest; the Windows build compiles
# it from Debian's sources with the cross compiler. Native test programs are
# split into one CTest test per case; a Windows test program is one CTest test,
# since every start under Wine is slow.

function(iwv_setup_googletest)
  if(TARGET iwv_gtest_main)
    return()
  endif()
  if(WIN32)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    target_compile_options(gtest PRIVATE -w)
    target_compile_options(gtest_main PRIVATE -w)
    add_library(iwv_gtest_main INTERFACE)
    target_link_libraries(iwv_gtest_main INTERFACE gtest_main gtest)
  else()
    find_package(GTest REQUIRED)
    add_library(iwv_gtest_main INTERFACE)
    target_link_libraries(iwv_gtest_main INTERFACE GTest::gtest_main GTest::gtest)
  endif()
endfunction()

# iwv_add_test(NAME <name> SOURCES <files...> [LIBS <targets...>] [TIMEOUT <s>])
function(iwv_add_test)
  cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} iwv_gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  if(WIN32)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES TIMEOUT ${T_TIMEOUT})
  else()
    include(GoogleTest)
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# iwv_add_operation_test(NAME <name> SOURCES <files...>): a native test of an
# operation, with the simulated terminal's drivers built and found on PATH.
function(iwv_add_operation_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES" ${ARGN})
  iwv_add_test(NAME ${T_NAME} SOURCES ${T_SOURCES} LIBS iwvestra_plugin iwv_driver_sandbox TIMEOUT 120)
  target_compile_definitions(${T_NAME} PRIVATE IWV_SIMULATOR_DIR="${IWV_SIMULATOR_DIR}")
  add_dependencies(${T_NAME} simulator_dlookup simulator_232_read)
endfunction()
