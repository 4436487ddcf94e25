# The project's version is set once, in project(VERSION ...) in the top CMakeLists.txt. Programs,
# libraries and resource scripts read it from one generated header by linking ProjectVersion.
configure_file(${CMAKE_CURRENT_LIST_DIR}/ProjectVersion.h.in ${CMAKE_BINARY_DIR}/generated/ProjectVersion.h @ONLY)
add_library(ProjectVersion INTERFACE)
target_include_directories(ProjectVersion INTERFACE ${CMAKE_BINARY_DIR}/generated)
