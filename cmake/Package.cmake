# `cpack` on a Windows build: one ZIP with the DLLs, their import libraries,
# the headers, stationctl.exe, the runtime DLLs they need, the CMake package
# files and a README for Windows users.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME EnrollmentStation)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME EnrollmentStation-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

configure_file(${CMAKE_CURRENT_LIST_DIR}/README-windows.txt.in ${PROJECT_BINARY_DIR}/package/README.txt @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/README.txt DESTINATION .)
include(CPack)
