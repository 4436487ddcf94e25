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
    bind_at_load(${name})
    add_version_info(${name} "${name}: host library (stand-in)")
    set_property(GLOBAL APPEND PROPERTY VELD_HOST_LIBRARIES ${name})
endfunction()

# bind_at_load(TARGET): an ELF library or program binds all its imports when it is loaded, as
# Windows binds a DLL's, instead of each at its first call: a host function first reached through
# an add-on then costs the add-on no symbol lookup, and the bound table is made read-only.
function(bind_at_load name)
    if(NOT WIN32)
        target_link_options(${name} PRIVATE LINKER:-z,now LINKER:-z,relro)
    endif()
endfunction()

# add_windows_resources(TARGET RES_FILE): gives a Windows module the resources of a compiled .res file
# as its PE resources, named types and languages as they are (to an INTERFACE target: to whatever
# links it). lld-link takes the .res itself and merges it with the module's other .res files (its
# VERSIONINFO, cmake/VersionInfo.cmake); an object made by llvm-cvtres could not be merged with them.
function(add_windows_resources name resFile)
    add_custom_target(${name}ResourceFile DEPENDS ${resFile})
    add_dependencies(${name} ${name}ResourceFile)
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_link_libraries(${name} INTERFACE ${resFile})
    else()
        target_link_libraries(${name} PRIVATE ${resFile})
    endif()
endfunction()
