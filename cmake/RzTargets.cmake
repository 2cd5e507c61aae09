# Helpers that give every target of ours the same warnings, sanitizers and,
# for test programs, the host exports that the plug-in binds to.

if(RZ_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(RZ_FUZZ)
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "RZ_FUZZ needs clang on Linux; use the fuzz preset")
  endif()
  # Coverage for libFuzzer in every target; only the fuzz targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

function(rz_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# rz_add_library(name SOURCES ... [DEPENDS ...])
function(rz_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
  rz_warnings(${name})
endfunction()

# The Windows test programs export the headless host's functions under the
# host's names and are called TAVREL.EXE, so that the plug-in's binding finds
# them exactly as it finds the real host. The export list is made from the one
# list of host functions.
set(RZ_HOST_EXPORTS_DEF ${PROJECT_BINARY_DIR}/tavrel_exports.def)
file(READ ${PROJECT_SOURCE_DIR}/shell/tx_host_functions.h rz_host_header)
string(REGEX MATCHALL "X\\(TX_[A-Za-z0-9_]+," rz_host_entries "${rz_host_header}")
set(rz_def_text "EXPORTS\n")
foreach(entry IN LISTS rz_host_entries)
  string(REGEX MATCH "TX_[A-Za-z0-9_]+" function_name "${entry}")
  string(APPEND rz_def_text "  ${function_name}=Headless_${function_name}\n")
endforeach()
file(WRITE ${RZ_HOST_EXPORTS_DEF}.in "${rz_def_text}")
configure_file(${RZ_HOST_EXPORTS_DEF}.in ${RZ_HOST_EXPORTS_DEF} COPYONLY)

include(GoogleTest)

# rz_add_test_suite(name SOURCES ... DEPENDS ...): one GoogleTest program whose
# cases CTest lists one by one, as "program.Suite.Case", so that a failure
# names the case. The cases are asked of the program when CTest runs (under
# Wine for the Windows build, whose emulator command keeps Wine quiet), not
# while building.
function(rz_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPENDS} rz_gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  rz_warnings(${name})
  if(WIN32)
    if(TARGET rz_headless_exports)
      # rz_headless_exports hands the export list to the linker.
      target_link_libraries(${name} PRIVATE rz_headless_exports)
      set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${RZ_HOST_EXPORTS_DEF})
    endif()
    set_target_properties(${name} PROPERTIES OUTPUT_NAME TAVREL
      RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests/${name})
    target_link_options(${name} PRIVATE -static)
  endif()
  # A Windows case takes seconds; one that waits longer is hung on a window
  # under Wine, and should be named before it eats the time of the run. The
  # native cases run under the sanitizers and the slowest take over a minute.
  if(WIN32)
    set(case_timeout 300)
  else()
    set(case_timeout 900)
  endif()
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    PROPERTIES TIMEOUT ${case_timeout} ENVIRONMENT "RZ_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
