# add_version_info(TARGET DESCRIPTION): gives a Windows module the VERSIONINFO resource of
# cmake/VersionInfo.rc, with the project's version (ProjectVersion) and its own description and file
# name, so that Explorer's properties, the installer and crash reports say who made it and which
# version it is. Nothing elsewhere: other platforms have no such resource.
function(add_version_info name description)
    if(NOT WIN32)
        return()
    endif()
    get_target_property(type ${name} TYPE)
    if(type STREQUAL "EXECUTABLE")
        set(fileType 1) # VFT_APP
    else()
        set(fileType 2) # VFT_DLL
    endif()
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.VersionInfo.rc)
    file(GENERATE OUTPUT ${script} CONTENT
"#define VELD_FILE_DESCRIPTION \"${description}\"
#define VELD_INTERNAL_NAME \"${name}\"
#define VELD_ORIGINAL_FILENAME \"$<TARGET_FILE_NAME:${name}>\"
#define VELD_FILE_TYPE ${fileType}
#include \"VersionInfo.rc\"
")
    target_sources(${name} PRIVATE ${script})
    set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/VersionInfo.rc
                                                                 ${CMAKE_BINARY_DIR}/generated/ProjectVersion.h)
    set_property(SOURCE ${script} PROPERTY INCLUDE_DIRECTORIES ${PROJECT_SOURCE_DIR}/cmake ${CMAKE_BINARY_DIR}/generated)
endfunction()
