# Header-only packages of the build machine, made findable in a cross build. Their headers live in
# /usr/include, which must not become an include folder of a cross build (the build machine's C
# library headers there would win over the target's), so each package gets a folder of its own that
# holds only a link to its headers, and a package file that find_package reads.
function(add_cross_header_package package target headerFolderName)
    set(root ${CMAKE_BINARY_DIR}/cross-packages/${package})
    file(MAKE_DIRECTORY ${root}/include)
    file(CREATE_LINK /usr/include/${headerFolderName} ${root}/include/${headerFolderName} SYMBOLIC)
    file(WRITE ${root}/${package}Config.cmake
        "if(NOT TARGET ${target})\n"
        "    add_library(${target} INTERFACE IMPORTED)\n"
        "    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES \"${root}/include\")\n"
        "endif()\n"
        "set(${package}_FOUND TRUE)\n")
    set(${package}_DIR ${root} CACHE PATH "" FORCE)
endfunction()

add_cross_header_package(nlohmann_json nlohmann_json::nlohmann_json nlohmann)
