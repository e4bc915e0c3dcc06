# Installs the build into a fresh prefix, builds examples/ against it with
# CMAKE_PREFIX_PATH only, runs the client, and checks the pkg-config file.
# For Windows (ZIP set) the prefix is the unpacked ZIP that cpack makes, the
# package Windows users get.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${what} failed (${code}):\n${out}\n${err}")
  endif()
  set(last_output "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
set(example_build ${WORK_DIR}/example)
file(REMOVE_RECURSE ${WORK_DIR})

if(ZIP)
  run("cpack" ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK_DIR}/zip)
  file(GLOB zip_file ${WORK_DIR}/zip/*.zip)
  file(MAKE_DIRECTORY ${WORK_DIR}/unpacked)
  run("unpack" ${CMAKE_COMMAND} -E chdir ${WORK_DIR}/unpacked ${CMAKE_COMMAND} -E tar xf ${zip_file})
  file(GLOB prefix ${WORK_DIR}/unpacked/*)
  # The DLLs with their import libraries, the programs, the runtime they need
  # and the README for Windows users.
  foreach(file
      bin/EnrollmentStation.dll bin/KestroBase.dll bin/ZornNetSDK.dll bin/stationctl.exe
      bin/stationctl-vstation.dll bin/libstdc++-6.dll bin/libgcc_s_seh-1.dll bin/libwinpthread-1.dll
      bin/libcjson.dll bin/libxml2.dll
      lib/libEnrollmentStation.dll.a lib/libKestroBase.dll.a lib/libZornNetSDK.dll.a
      lib/cmake/EnrollmentStation/EnrollmentStationConfig.cmake lib/cmake/KestroBase/KestroBaseConfig.cmake
      README.txt)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "not in ${zip_file}: ${file}")
    endif()
  endforeach()
else()
  run("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
endif()
foreach(header
    include/EnrollmentStation/EnrollmentStation.h include/EnrollmentStation/Export.h
    include/EnrollmentStation/Version.h include/EnrollmentStation/EnrollmentStationC.h
    include/platform/KestroBase.h include/platform/ZornNetSDK.h include/VirtualStation/Control.h
    include/VirtualStation/Vocabulary.h include/VirtualStation/StreamControl.h bin/vstation${EXE_SUFFIX})
  if(NOT EXISTS ${prefix}/${header})
    message(FATAL_ERROR "not installed: ${header}")
  endif()
endforeach()
# stationctl's completion and manual page, where this build has stationctl.
set(shared_files)
if(WITH_STATIONCTL)
  list(APPEND shared_files share/bash-completion/completions/stationctl)
  if(NOT TOOLCHAIN_FILE)  # the manual page is made by running the program
    list(APPEND shared_files share/man/man1/stationctl.1)
  endif()
endif()
foreach(file ${shared_files})
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE private_headers ${prefix}/include/*Operator.h ${prefix}/include/*Runtime.h)
if(private_headers)
  message(FATAL_ERROR "private headers installed: ${private_headers}")
endif()

# The sanitizer builds need the same flags in the client, or its run fails;
# a cross-build needs the same toolchain, which searches below the prefix.
set(cross_options)
if(TOOLCHAIN_FILE)
  set(cross_options -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN_FILE} -DES_MINGW_PREFIX=${MINGW_PREFIX}
    -DCMAKE_FIND_ROOT_PATH=${prefix})
endif()
run("configure example" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples -B ${example_build}
  -G ${GENERATOR} -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}" ${cross_options})
run("build example" ${CMAKE_COMMAND} --build ${example_build})

# Nothing of the build tree may be reachable: run the client from the prefix's
# view only, against the installed station process. A cross-built program
# runs through the emulator and finds the package's DLLs on the path.
set(ENV{ENROLL_PASSWORD} "Station#2026")
set(station ${SOURCE_DIR}/tests/consumer/with-station.sh ${prefix}/bin/vstation${EXE_SUFFIX})
if(EMULATOR)
  set(ENV{WITH_STATION_EMULATOR} "${EMULATOR}")
  set(ENV{WINEPATH} "Z:${prefix}/bin")
endif()
run("run example" ${station} ${EMULATOR} ${example_build}/enroll_client${EXE_SUFFIX} 127.0.0.1 {port} admin)
foreach(expected "logged in, handle" "card " "3 records in the offline store")
  string(FIND "${last_output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "example output lacks '${expected}':\n${last_output}")
  endif()
endforeach()

# Builds the project in `dir` against the installed package with this build's
# compilers and flags (the sanitizer builds need them in the client too), runs
# its `app` and checks that it read the card.
function(build_and_run_readme what dir)
  run("configure ${what}" ${CMAKE_COMMAND} -S ${dir} -B ${dir}/build -G ${GENERATOR}
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_C_COMPILER=${C_COMPILER}
    "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}" "-DCMAKE_C_FLAGS=${C_FLAGS}" "-DCMAKE_EXE_LINKER_FLAGS=${LINKER_FLAGS}"
    ${cross_options})
  run("build ${what}" ${CMAKE_COMMAND} --build ${dir}/build)
  # README's programs name 127.0.0.1:8000: a station process there, once the port is free.
  set(ENV{WITH_STATION_LISTEN} "127.0.0.1:8000")
  run("run ${what}" ${station} ${EMULATOR} ${dir}/build/app${EXE_SUFFIX})
  unset(ENV{WITH_STATION_LISTEN})
  string(FIND "${last_output}" "card 3053140519" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what}: output lacks the card:\n${last_output}")
  endif()
endfunction()

# README's snippets exactly as written: its program and its CMake lines, with
# only the project frame around them.
file(READ ${SOURCE_DIR}/README.md readme)
string(REGEX MATCH "## Using the library\n\n```cpp\n(.*)\n```\n\n```cmake\n([^`]*)\n```" found "${readme}")
if(NOT found)
  message(FATAL_ERROR "README.md: no C++ and CMake snippets under 'Using the library'")
endif()
set(readme_dir ${WORK_DIR}/readme)
file(WRITE ${readme_dir}/main.cpp "${CMAKE_MATCH_1}\n")
file(WRITE ${readme_dir}/CMakeLists.txt "cmake_minimum_required(VERSION 3.20)
project(ReadmeSnippet LANGUAGES CXX)
set(CMAKE_CXX_STANDARD 17)
${CMAKE_MATCH_2}
")
build_and_run_readme("README snippet" ${readme_dir})

# README's C program, compiled as C11 against the same package.
string(REGEX MATCH "```c\n(#include <EnrollmentStation/EnrollmentStationC.h>[^`]*)\n```" found "${readme}")
if(NOT found)
  message(FATAL_ERROR "README.md: no C program that includes EnrollmentStationC.h")
endif()
set(readme_c_dir ${WORK_DIR}/readme-c)
file(WRITE ${readme_c_dir}/main.c "${CMAKE_MATCH_1}\n")
file(WRITE ${readme_c_dir}/CMakeLists.txt "cmake_minimum_required(VERSION 3.20)
project(ReadmeC LANGUAGES C)
set(CMAKE_C_STANDARD 11)
set(CMAKE_C_EXTENSIONS OFF)
find_package(EnrollmentStation CONFIG REQUIRED)
add_executable(app main.c)
target_compile_options(app PRIVATE -Wall -Wextra -Wpedantic -Werror)
target_link_libraries(app PRIVATE EnrollmentStation::EnrollmentStation)
")
build_and_run_readme("README C program" ${readme_c_dir})

file(GLOB_RECURSE pc_file ${prefix}/*/EnrollmentStation.pc)
if(NOT pc_file)
  message(FATAL_ERROR "no EnrollmentStation.pc installed")
endif()
find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  get_filename_component(pc_dir ${pc_file} DIRECTORY)
  set(ENV{PKG_CONFIG_PATH} ${pc_dir})
  run("pkg-config" ${PKG_CONFIG} --cflags --libs EnrollmentStation)
  string(FIND "${last_output}" "-lEnrollmentStation" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "pkg-config gives no -lEnrollmentStation: ${last_output}")
  endif()
  string(REGEX MATCH "-I([^ \n]+)" include_flag "${last_output}")
  if(NOT EXISTS "${CMAKE_MATCH_1}/EnrollmentStation/EnrollmentStation.h")
    message(FATAL_ERROR "pkg-config include folder has no header: ${last_output}")
  endif()
endif()
message(STATUS "installed package consumed: ${last_output}")
