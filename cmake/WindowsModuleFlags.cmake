# How every Windows module of the cross build is compiled and linked beyond the toolchain's ABI flags:
# hardened as Windows binary analysers expect, with its PDB, and the same bytes from any build folder.
# Included before MsvcRuntime.cmake, so that the start-up library and the STL's static part are built
# the same way as the modules that link them.
#
# Hardening: stack cookies (the start-up library provides and initialises __security_cookie and the
# check, cmake/MsvcAbi/crt/SecurityCookie.c), Control Flow Guard (its load configuration directory,
# LoadConfig.c, is pulled into every module by /include), ASLR with high-entropy addresses and DEP.
#
# Reproducibility: no build-folder or source-folder path reaches an object or a PDB (both become "."
# and the PDB names its sources below C:\src), the PDB's record of the compiler's command line is
# left out, and /Brepro makes the time stamp a hash of the contents. /pdbaltpath:%_PDB% keeps only
# the PDB's file name in the module, as a symbol server looks it up. Sources reach the compiler by
# their path relative to the build folder (relative-source-compile.sh), since the names of anonymous
# namespaces hash that path: a build in build/NAME of any checkout gives the same bytes; the prefix
# map below then names them as the other paths are named.
file(RELATIVE_PATH source_from_build ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
string(REGEX REPLACE "/$" "" source_from_build "${source_from_build}")
foreach(language C CXX)
    set(CMAKE_${language}_COMPILER_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/relative-source-compile.sh ${CMAKE_SOURCE_DIR}
                                            ${source_from_build} ${CMAKE_${language}_COMPILER_LAUNCHER})
endforeach()
set(c_family "$<COMPILE_LANGUAGE:C,CXX>")
add_compile_options(
    "$<${c_family}:-fstack-protector-strong>"
    "$<${c_family}:SHELL:-Xclang -cfguard>"
    "$<${c_family}:-gcodeview>"
    "$<${c_family}:-gno-codeview-command-line>"
    "$<${c_family}:-ffile-prefix-map=${CMAKE_BINARY_DIR}=.>"
    "$<${c_family}:-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.>"
    "$<${c_family}:-ffile-prefix-map=${source_from_build}/=>"
    "$<${c_family}:-fdebug-compilation-dir=.>")
add_link_options(
    "LINKER:/guard:cf" "LINKER:/include:_load_config_used"
    "LINKER:/dynamicbase" "LINKER:/highentropyva" "LINKER:/nxcompat"
    "LINKER:/debug" "LINKER:/Brepro" "LINKER:/pdbaltpath:%_PDB%" "LINKER:/pdbsourcepath:C:/src")
