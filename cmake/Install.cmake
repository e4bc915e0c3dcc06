# Installation: the client library with its public header, the two stand-in
# libraries as packages of their own, stationctl, a CMake package per library
# and a pkg-config file. Everything is relocatable: the files find the prefix
# from where they are installed, so `cmake --install <build> --prefix <dir>`
# works for any <dir>.
include(CMakePackageConfigHelpers)

set(ES_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake)

# Installed libraries find each other beside themselves; stationctl finds
# them in the library folder next to its own.
if(APPLE)
  set(es_origin "@loader_path")
else()
  set(es_origin "$ORIGIN")
endif()
file(RELATIVE_PATH es_bin_to_lib
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR})
set_target_properties(EnrollmentStation KestroBase ZornNetSDK PROPERTIES INSTALL_RPATH "${es_origin}")

# Installed headers keep the names used in the tree: "KestroBase.h" and
# "ZornNetSDK.h" from include/platform, "VirtualStation/Control.h" from include.
target_include_directories(KestroBase INTERFACE
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/platform>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_include_directories(ZornNetSDK INTERFACE
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/platform>)

# es_install_package(<package> <target> <headers destination> <headers...>);
# ES_PACKAGE_DEPENDENCIES, when set, goes into the package file before its targets.
function(es_install_package package target header_dir)
  install(TARGETS ${target} EXPORT ${package}Targets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${ARGN} DESTINATION ${header_dir})
  install(EXPORT ${package}Targets NAMESPACE EnrollmentStation::
    DESTINATION ${ES_PACKAGE_DIR}/${package})
  set(ES_PACKAGE ${package})
  configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/EnrollmentStationConfig.cmake.in
    ${PROJECT_BINARY_DIR}/package/${package}Config.cmake
    INSTALL_DESTINATION ${ES_PACKAGE_DIR}/${package})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/${package}ConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
  install(FILES
    ${PROJECT_BINARY_DIR}/package/${package}Config.cmake
    ${PROJECT_BINARY_DIR}/package/${package}ConfigVersion.cmake
    DESTINATION ${ES_PACKAGE_DIR}/${package})
endfunction()

# The base library's package, from the same prefix first.
set(ES_PACKAGE_DEPENDENCIES "include(CMakeFindDependencyMacro)
find_dependency(KestroBase ${PROJECT_VERSION} CONFIG HINTS \"\${CMAKE_CURRENT_LIST_DIR}/../KestroBase\")")
es_install_package(EnrollmentStation EnrollmentStation ${CMAKE_INSTALL_INCLUDEDIR}/EnrollmentStation
  ${PROJECT_SOURCE_DIR}/EnrollmentStation/include/EnrollmentStation/EnrollmentStation.h
  ${PROJECT_SOURCE_DIR}/EnrollmentStation/include/EnrollmentStation/EnrollmentStationC.h
  ${PROJECT_SOURCE_DIR}/EnrollmentStation/include/EnrollmentStation/Export.h
  ${PROJECT_SOURCE_DIR}/EnrollmentStation/include/EnrollmentStation/Version.h)
set(ES_PACKAGE_DEPENDENCIES "")
es_install_package(KestroBase KestroBase ${CMAKE_INSTALL_INCLUDEDIR}/platform
  ${PROJECT_SOURCE_DIR}/platform/KestroBase.h)
es_install_package(ZornNetSDK ZornNetSDK ${CMAKE_INSTALL_INCLUDEDIR}/platform
  ${PROJECT_SOURCE_DIR}/platform/ZornNetSDK.h)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/VirtualStation/include/VirtualStation
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

if(TARGET vstation)
  set_target_properties(vstation PROPERTIES INSTALL_RPATH "${es_origin}/${es_bin_to_lib}")
  install(TARGETS vstation RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(TARGET stationctl)
  set_target_properties(stationctl PROPERTIES INSTALL_RPATH "${es_origin}/${es_bin_to_lib}")
  install(TARGETS stationctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The built-in station's module goes where stationctl looks for it.
  set_target_properties(stationctl_vstation PROPERTIES INSTALL_RPATH "${es_origin}")
  if(WIN32)
    install(TARGETS stationctl_vstation LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})
  else()
    install(TARGETS stationctl_vstation LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endif()
endif()

# pkg-config: the prefix is worked out from the .pc file's own place.
file(RELATIVE_PATH ES_PC_TO_PREFIX
  ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ES_PC_TO_PREFIX "${ES_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/EnrollmentStation.pc.in
  ${PROJECT_BINARY_DIR}/package/EnrollmentStation.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/EnrollmentStation.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
