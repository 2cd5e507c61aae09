# tinyxml2 for the Windows and WebAssembly builds: Debian's source package,
# compiled statically.
include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
rz_debian_source(tinyxml2 tinyxml2.cpp rz_tinyxml2_dir)
add_library(rz_tinyxml2 STATIC ${rz_tinyxml2_dir}/tinyxml2.cpp)
target_include_directories(rz_tinyxml2 SYSTEM PUBLIC ${rz_tinyxml2_dir})
add_library(tinyxml2::tinyxml2 ALIAS rz_tinyxml2)
