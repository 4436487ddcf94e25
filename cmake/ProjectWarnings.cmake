# One INTERFACE target carries the warning policy; every target of ours links it.
# Warnings are errors where we choose the compiler and its flags (every preset, and so CI). A
# person's own configuration may meet a compiler's false warnings (GCC 12's -Wrestrict inside
# libstdc++ at -O3, in a plain Release build): there they are shown, and the build goes on.
option(VELD_WARNINGS_AS_ERRORS "Treat compiler warnings as errors (the presets switch it on)" OFF)
add_library(project_warnings INTERFACE)
target_compile_options(project_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow)
if(VELD_WARNINGS_AS_ERRORS)
    target_compile_options(project_warnings INTERFACE -Werror)
endif()
# __FILE__ as a path relative to the repository, so diagnostics name files the same on every machine.
target_compile_options(project_warnings INTERFACE "-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=")
