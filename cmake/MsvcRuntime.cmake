# The runtime side of the MSVC-ABI Windows build (toolchain clang-msvc-x86_64.cmake): what
# Microsoft's kit would provide as libraries, made here from what Debian has, as targets of this
# project so that a clean build makes everything it links:
# - import libraries of the runtime and system DLLs, from the export tables of Wine's DLLs;
# - the start-up library (cmake/MsvcAbi/crt: entry points, static initialisers, TLS, allocation
#   functions, ...), one for programs and one for DLLs, plus what both share;
# - the static part of the MSVC STL, built from its sources (what msvcprt.lib holds beside the
#   imports of msvcp140.dll);
# - zlib and expat, from Debian's source packages.
# Every program and DLL declared after this file links them all (MsvcRuntime).

set(runtime_lib_dir ${CMAKE_BINARY_DIR}/msvc-runtime/lib)
file(MAKE_DIRECTORY ${runtime_lib_dir})

# The DLLs whose functions anything here calls: the C and C++ runtime, and the Win32 API.
set(VELD_IMPORTED_DLLS ucrtbase vcruntime140 msvcp140 kernel32 user32 gdi32 advapi32 shell32 ole32)
set(import_libraries)
# Wine's ucrtbase.dll also exports vcruntime140.dll's functions; on Windows only vcruntime140 has them.
set(owned_elsewhere_ucrtbase vcruntime140 vcruntime140_1)
foreach(dll ${VELD_IMPORTED_DLLS})
    set(lib ${runtime_lib_dir}/${dll}.lib)
    set(others)
    foreach(other ${owned_elsewhere_${dll}})
        list(APPEND others ${VELD_WINE_DLL_DIR}/${other}.dll)
    endforeach()
    add_custom_command(OUTPUT ${lib}
        COMMAND ${VELD_MSVC_ABI_DIR}/make-import-library.sh "${VELD_LLVM_SUFFIX}" ${VELD_WINE_DLL_DIR}/${dll}.dll ${lib} ${others}
        DEPENDS ${VELD_MSVC_ABI_DIR}/make-import-library.sh ${VELD_WINE_DLL_DIR}/${dll}.dll ${others}
        COMMENT "Import library of ${dll}.dll"
        VERBATIM)
    list(APPEND import_libraries ${lib})
endforeach()
add_custom_target(MsvcImportLibraries DEPENDS ${import_libraries})

set(crt ${VELD_MSVC_ABI_DIR}/crt)
add_library(MsvcCrtCommon STATIC
    ${crt}/ModuleSections.c ${crt}/InstructionSets.c ${crt}/ThreadSafeStatics.c ${crt}/StackProbe.c
    ${crt}/KernelFallbacks.c ${crt}/TypeInfo.cpp ${crt}/SecurityCookie.c ${crt}/LoadConfig.c
    ${crt}/NewScalar.cpp ${crt}/NewArray.cpp ${crt}/NewNothrow.cpp ${crt}/NewArrayNothrow.cpp
    ${crt}/NewAligned.cpp ${crt}/NewArrayAligned.cpp ${crt}/NewAlignedNothrow.cpp ${crt}/NewArrayAlignedNothrow.cpp
    ${crt}/DeleteScalar.cpp ${crt}/DeleteVariants.cpp ${crt}/DeleteAligned.cpp ${crt}/DeleteAlignedVariants.cpp)
add_library(MsvcCrtExe STATIC ${crt}/ExeStartup.c ${crt}/ExeMain.c ${crt}/ExeWmain.c)
add_library(MsvcCrtDll STATIC ${crt}/DllStartup.c ${crt}/DefaultDllMain.c)

# The STL's static part: the sources that Microsoft's msvcprt.lib carries beside its imports, less
# those of features nothing here uses (format, print, regex, stacktrace and the vectorised
# algorithms, which stay off: see the toolchain file).
set(stl_src ${VELD_MSVC_STL_DIR}/src)
add_library(MsvcStlStatic STATIC
    ${stl_src}/charconv.cpp ${stl_src}/filesystem.cpp ${stl_src}/locale0_implib.cpp ${stl_src}/nothrow.cpp
    ${stl_src}/sharedmutex.cpp ${stl_src}/syserror_import_lib.cpp ${stl_src}/xcharconv_ryu_tables.cpp
    ${stl_src}/xcharconv_tables_double.cpp ${stl_src}/xcharconv_tables_float.cpp ${stl_src}/xonce2.cpp)
target_compile_definitions(MsvcStlStatic PRIVATE _CRTBLD _ENFORCE_ONLY_CORE_HEADERS)
target_include_directories(MsvcStlStatic PRIVATE ${stl_src})

# zlib for Windows comes as source: Debian's source package, fetched by scripts/install-deps.sh.
file(GLOB zlib_candidates LIST_DIRECTORIES true /usr/local/src/veld/zlib-*)
list(SORT zlib_candidates)
list(POP_BACK zlib_candidates zlib_default)
set(VELD_ZLIB_SOURCE_DIR "${zlib_default}" CACHE PATH "zlib's sources (Debian's source package, unpacked)")
if(NOT EXISTS "${VELD_ZLIB_SOURCE_DIR}/zlib.h")
    message(FATAL_ERROR "No zlib sources at '${VELD_ZLIB_SOURCE_DIR}': run scripts/install-deps.sh")
endif()
add_library(ZlibStatic STATIC)
foreach(file adler32 compress crc32 deflate infback inffast inflate inftrees trees uncompr zutil)
    target_sources(ZlibStatic PRIVATE ${VELD_ZLIB_SOURCE_DIR}/${file}.c)
endforeach()
target_include_directories(ZlibStatic SYSTEM PUBLIC ${VELD_ZLIB_SOURCE_DIR})
# zlib's own code, built as its authors ship it; only its interface is ours to judge.
target_compile_options(ZlibStatic PRIVATE -w)
add_library(ZLIB::ZLIB ALIAS ZlibStatic)
# find_package(ZLIB) then finds this build of it; ZLIB::ZLIB already names it.
set(ZLIB_INCLUDE_DIR ${VELD_ZLIB_SOURCE_DIR} CACHE PATH "" FORCE)
set(ZLIB_LIBRARY ZlibStatic CACHE STRING "" FORCE)

# expat for Windows comes as source too: Debian's source package, fetched by scripts/install-deps.sh,
# compiled unchanged with a configuration header of ours (ExpatWindows/expat_config.h).
file(GLOB expat_candidates LIST_DIRECTORIES true /usr/local/src/veld/expat-*)
list(SORT expat_candidates)
list(POP_BACK expat_candidates expat_default)
set(VELD_EXPAT_SOURCE_DIR "${expat_default}" CACHE PATH "expat's sources (Debian's source package, unpacked)")
set(expat_lib ${VELD_EXPAT_SOURCE_DIR}/expat/lib)
if(NOT EXISTS "${expat_lib}/expat.h")
    message(FATAL_ERROR "No expat sources at '${VELD_EXPAT_SOURCE_DIR}': run scripts/install-deps.sh")
endif()
add_library(ExpatStatic STATIC ${expat_lib}/xmlparse.c ${expat_lib}/xmlrole.c ${expat_lib}/xmltok.c)
target_include_directories(ExpatStatic SYSTEM PUBLIC ${expat_lib})
target_include_directories(ExpatStatic PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ExpatWindows)
# A static library: no import decoration on its functions (XML_STATIC). Byte offsets and counts in 64
# bits (XML_LARGE_SIZE), where long has 32 on Windows: parts may pass 2 GiB. Both change the interface,
# so the users are built with them too.
target_compile_definitions(ExpatStatic PUBLIC XML_STATIC XML_LARGE_SIZE)
# expat's own code, built as its authors ship it; only its interface is ours to judge.
target_compile_options(ExpatStatic PRIVATE -w)
add_library(EXPAT::EXPAT ALIAS ExpatStatic)
# find_package(EXPAT) then finds this build of it; EXPAT::EXPAT already names it.
set(EXPAT_INCLUDE_DIR ${expat_lib} CACHE PATH "" FORCE)
set(EXPAT_LIBRARY ExpatStatic CACHE STRING "" FORCE)

add_library(MsvcRuntime INTERFACE)
add_dependencies(MsvcRuntime MsvcImportLibraries)
# No manifest made by the linker: CMake asks lld-link to embed one in every module, which would clash
# with the manifest resource a module carries itself (the add-on's, from its resource sources). This
# comes after CMake's request on the link line, and the last word counts.
target_link_libraries(MsvcRuntime INTERFACE
    $<IF:$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>,MsvcCrtExe,MsvcCrtDll>
    MsvcCrtCommon MsvcStlStatic ${import_libraries} "-Xlinker /manifest:no")
link_libraries(MsvcRuntime)
# A target that names a system DLL's import library (shell32, ...) finds the one made here. The path
# is relative to the build folder, where Ninja runs the linker: the linker records its command line
# in every PDB, and an absolute path would make two build folders give different PDBs.
file(RELATIVE_PATH runtime_lib_dir_in_build ${CMAKE_BINARY_DIR} ${runtime_lib_dir})
add_link_options("LINKER:/libpath:${runtime_lib_dir_in_build}")
