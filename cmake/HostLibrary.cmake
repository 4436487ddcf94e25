# add_host_library(NAME SOURCES ...): one of the host's shared libraries. The library's export
# macro (NAME_API in NAMEExport.hpp) switches to dllexport while the library itself is built.
function(add_host_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;POSIX_SOURCES;WINDOWS_SOURCES;DEPENDS" ${ARGN})
    set(sources ${ARG_SOURCES})
    if(WIN32)
        list(APPEND sources ${ARG_WINDOWS_SOURCES})
    else()
        list(APPEND sources ${ARG_POSIX_SOURCES})
    endif()
    add_library(${name} SHARED ${sources})
    string(TOUPPER ${name} upper)
    target_compile_definitions(${name} PRIVATE ${upper}_BUILDING)
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS} PRIVATE project_warnings)
    set_target_properties(${name} PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    release_runtime_pool_at_unload(${name})
    bind_at_load(${name})
endfunction()

# bind_at_load(TARGET): an ELF library or program binds all its imports when it is loaded, as
# Windows binds a DLL's, instead of each at its first call: a host function first reached through
# an add-on then costs the add-on no symbol lookup, and the bound table is made read-only.
function(bind_at_load name)
    if(NOT WIN32)
        target_link_options(${name} PRIVATE LINKER:-z,now LINKER:-z,relro)
    endif()
endfunction()

# release_runtime_pool_at_unload(TARGET): a library or module that may be unloaded gives back the
# memory its own statically linked GNU C++ runtime keeps (cmake/RuntimePoolReleaseWindows.cpp).
function(release_runtime_pool_at_unload name)
    if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/RuntimePoolReleaseWindows.cpp)
    endif()
endfunction()

# add_windows_resources(TARGET RES_FILE): gives a Windows module the resources of a compiled .res file
# as its PE resources, named types and languages as they are. In the MSVC-ABI build llvm-cvtres turns
# the .res into an object; with mingw, windres reads .res input as it is.
function(add_windows_resources name resFile)
    if(VELD_MSVC_ABI)
        set(object ${resFile}.obj)
        add_custom_command(OUTPUT ${object}
            COMMAND llvm-cvtres${VELD_LLVM_SUFFIX} /machine:x64 /out:${object} ${resFile}
            DEPENDS ${resFile}
            COMMENT "Turning ${resFile} into an object of PE resources"
            VERBATIM)
        set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
        target_sources(${name} PRIVATE ${object})
    else()
        set_source_files_properties(${resFile} PROPERTIES LANGUAGE RC GENERATED TRUE)
        target_sources(${name} PRIVATE ${resFile})
    endif()
endfunction()
