# One INTERFACE target carries the warning policy; every target of ours links it.
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow -Werror)
# __FILE__ as a path relative to the repository, so diagnostics name files the same on every machine.
target_compile_options(project_warnings INTERFACE "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=")
