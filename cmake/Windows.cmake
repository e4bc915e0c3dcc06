# Windows builds: library file names, the MinGW runtime beside the programs,
# and Wine to run them when cross-building.

# The DLLs carry the libraries' own names (EnrollmentStation.dll, ...), as the
# closed originals do; the import libraries keep the lib prefix.
set(CMAKE_SHARED_LIBRARY_PREFIX "")

# The DLLs the programs need besides ours: the compiler's runtime and the
# third-party libraries. They are copied beside the programs of the build and
# installed beside them.
set(es_runtime_dlls)
if(MINGW)
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
      OUTPUT_VARIABLE dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${dll_path}")
      message(FATAL_ERROR "the compiler does not know where ${dll} is")
    endif()
    get_filename_component(dll_path "${dll_path}" REALPATH)
    list(APPEND es_runtime_dlls ${dll_path})
  endforeach()
endif()
foreach(target cjson LibXml2::LibXml2)
  get_target_property(dll ${target} IMPORTED_LOCATION_RELEASE)
  if(NOT dll)
    get_target_property(dll ${target} IMPORTED_LOCATION)
  endif()
  if(NOT dll OR NOT dll MATCHES "\\.dll$")
    # Located by a find module: the DLL sits in bin/ next to lib/.
    get_target_property(implib ${target} IMPORTED_IMPLIB)
    if(NOT implib)
      get_target_property(implib ${target} IMPORTED_LOCATION)
    endif()
    get_filename_component(lib_dir "${implib}" DIRECTORY)
    get_filename_component(name "${implib}" NAME)
    string(REGEX REPLACE "\\.dll\\.a$|\\.a$" ".dll" name "${name}")
    set(dll ${lib_dir}/../bin/${name})
  endif()
  get_filename_component(dll "${dll}" REALPATH)
  if(NOT EXISTS "${dll}")
    message(FATAL_ERROR "no DLL found for ${target} (looked for ${dll})")
  endif()
  list(APPEND es_runtime_dlls ${dll})
endforeach()
file(COPY ${es_runtime_dlls} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
install(FILES ${es_runtime_dlls} DESTINATION ${CMAKE_INSTALL_BINDIR})

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(ES_WINE wine)
  if(ES_WINE)
    set(ES_WINEPREFIX ${PROJECT_BINARY_DIR}/wine)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${PROJECT_BINARY_DIR}/wine-run.sh
      FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                       WORLD_READ WORLD_EXECUTE
      @ONLY)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_BINARY_DIR}/wine-run.sh)
  else()
    message(STATUS "wine not found: the Windows programs of this build cannot be run here")
  endif()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)
