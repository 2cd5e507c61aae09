# rz_debian_source(PACKAGE MARKER RESULT): the folder of Debian's source
# package PACKAGE, fetched with apt-get source into the build folder at
# configure time and unpacked there once. MARKER is a file the unpacked
# folder holds (a glob relative to it), by which it is found again.
function(rz_debian_source package marker result)
  set(root ${PROJECT_BINARY_DIR}/_deps/${package}-source)
  file(GLOB found ${root}/*/${marker})
  if(NOT found)
    file(MAKE_DIRECTORY ${root})
    execute_process(COMMAND apt-get source --download-only ${package}
      WORKING_DIRECTORY ${root} RESULT_VARIABLE fetch_result
      OUTPUT_QUIET ERROR_VARIABLE fetch_error)
    file(GLOB archives ${root}/${package}_*.orig.tar.*)
    if(NOT fetch_result EQUAL 0 OR NOT archives)
      message(FATAL_ERROR "Could not fetch ${package}'s source package (run scripts/install-deps): ${fetch_error}")
    endif()
    list(GET archives 0 archive)
    file(ARCHIVE_EXTRACT INPUT ${archive} DESTINATION ${root})
    file(GLOB found ${root}/*/${marker})
    if(NOT found)
      message(FATAL_ERROR "${package}'s source package has no ${marker}")
    endif()
  endif()
  list(GET found 0 marker_path)
  string(LENGTH "${marker}" marker_length)
  string(LENGTH "${marker_path}" path_length)
  math(EXPR folder_length "${path_length} - ${marker_length} - 1")
  string(SUBSTRING "${marker_path}" 0 ${folder_length} folder)
  set(${result} ${folder} PARENT_SCOPE)
endfunction()
