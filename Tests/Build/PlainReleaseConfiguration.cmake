# cmake -DSOURCE=... -DWORK=... -DGENERATOR=... -P PlainReleaseConfiguration.cmake
#
# `cmake -S . -B out -DCMAKE_BUILD_TYPE=Release` is the build a person types. A compiler's false
# warning at -O3 (GCC 12's -Wrestrict inside libstdc++) must not stop it, so only the presets make
# warnings errors; a plain configuration shows them and builds on.
file(REMOVE_RECURSE "${WORK}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE}" -B "${WORK}" -G "${GENERATOR}" -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
    RESULT_VARIABLE configured
    OUTPUT_VARIABLE output
    ERROR_VARIABLE output)
if(NOT configured EQUAL 0)
    message(FATAL_ERROR "a plain Release configuration fails:\n${output}")
endif()
file(READ "${WORK}/compile_commands.json" commands)
string(REGEX MATCHALL "\"command\": \"[^\n]*" compiles "${commands}")
list(LENGTH compiles compileCount)
if(compileCount EQUAL 0)
    message(FATAL_ERROR "the plain Release configuration compiles nothing")
endif()
foreach(compile IN LISTS compiles)
    if(compile MATCHES "-Werror")
        message(FATAL_ERROR "warnings are errors in a plain Release configuration:\n${compile}")
    endif()
endforeach()
# Our own sources still show every warning the presets would stop at.
string(REGEX MATCHALL "\"command\": \"[^\n]*-Wconversion[^\n]*" warned "${commands}")
list(LENGTH warned warnedCount)
if(warnedCount EQUAL 0)
    message(FATAL_ERROR "a plain Release configuration shows no warnings of ours")
endif()
file(REMOVE_RECURSE "${WORK}")
message(STATUS "${compileCount} compiles, ${warnedCount} with the project's warnings, none with -Werror")
