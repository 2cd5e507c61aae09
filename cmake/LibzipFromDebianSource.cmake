# libzip and zlib for the WebAssembly build: Debian's source packages,
# compiled statically, without libzip's tools, tests or encryption (an .mxl
# score is never encrypted). The result is the target rz_libzip.
include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
enable_language(C)

# zlib's own CMake file wants the Windows resource folder its Debian
# tarball leaves out, so its sources are compiled here directly.
rz_debian_source(zlib zlib.h rz_zlib_dir)
set(rz_zlib_sources)
foreach(unit adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees
             uncompr zutil)
  list(APPEND rz_zlib_sources ${rz_zlib_dir}/${unit}.c)
endforeach()
add_library(rz_zlib STATIC ${rz_zlib_sources})
target_include_directories(rz_zlib SYSTEM PUBLIC ${rz_zlib_dir})
target_compile_definitions(rz_zlib PRIVATE HAVE_UNISTD_H HAVE_STDARG_H)
# libzip exports its targets, and an exported target may only name an
# imported one, not a target of this project.
add_library(ZLIB::ZLIB INTERFACE IMPORTED GLOBAL)
set_target_properties(ZLIB::ZLIB PROPERTIES INTERFACE_LINK_LIBRARIES rz_zlib)
set(ZLIB_INCLUDE_DIR ${rz_zlib_dir} CACHE PATH "" FORCE)
set(ZLIB_LIBRARY rz_zlib CACHE STRING "" FORCE)

rz_debian_source(libzip lib/zip.h rz_libzip_dir)
foreach(feature COMMONCRYPTO GNUTLS MBEDTLS OPENSSL WINDOWS_CRYPTO BZIP2 LZMA)
  set(ENABLE_${feature} OFF CACHE BOOL "" FORCE)
endforeach()
foreach(part TOOLS REGRESS EXAMPLES DOC)
  set(BUILD_${part} OFF CACHE BOOL "" FORCE)
endforeach()
set(BUILD_SHARED_LIBS OFF CACHE BOOL "" FORCE)
set(LIBZIP_DO_INSTALL OFF CACHE BOOL "" FORCE)
# off_t is 64 bits wide on this target.
set(HAVE_SIZEOF_OFF_T TRUE CACHE INTERNAL "")
set(SIZEOF_OFF_T 8 CACHE INTERNAL "")
set(CMAKE_POLICY_DEFAULT_CMP0063 NEW)
add_subdirectory(${rz_libzip_dir} ${PROJECT_BINARY_DIR}/_deps/libzip EXCLUDE_FROM_ALL)
add_library(rz_libzip INTERFACE)
target_link_libraries(rz_libzip INTERFACE zip)
