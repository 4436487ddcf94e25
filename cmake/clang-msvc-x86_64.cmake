# Cross build for 64-bit Windows in the host's own C++ ABI: clang in MSVC mode, linked by lld-link,
# with the MSVC STL (third_party/msvc-stl) on the shared C++ runtime DLLs (msvcp140, vcruntime140,
# ucrtbase), as a Windows host application built by Microsoft's compiler uses them (/MD). Nothing of
# Microsoft's proprietary kit is used: Wine's C runtime and Win32 headers stand in for the SDK's, and
# cmake/MsvcAbi holds the few pieces nothing here provides (see its README). Run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VELD_LLVM_SUFFIX "-19" CACHE STRING "Suffix of the LLVM tools' names (Debian's clang-19, lld-19, llvm-19)")
set(target x86_64-pc-windows-msvc)
set(CMAKE_C_COMPILER clang${VELD_LLVM_SUFFIX})
set(CMAKE_CXX_COMPILER clang++${VELD_LLVM_SUFFIX})
set(CMAKE_C_COMPILER_TARGET ${target})
set(CMAKE_CXX_COMPILER_TARGET ${target})
set(CMAKE_LINKER lld-link${VELD_LLVM_SUFFIX})
set(CMAKE_AR llvm-ar${VELD_LLVM_SUFFIX})
set(CMAKE_RANLIB llvm-ranlib${VELD_LLVM_SUFFIX})
set(CMAKE_RC_COMPILER llvm-rc${VELD_LLVM_SUFFIX})
set(CMAKE_MT llvm-mt${VELD_LLVM_SUFFIX})

# The runtime libraries are targets of the project itself (cmake/MsvcRuntime.cmake): CMake's compiler
# check must not try to link a program before they exist.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

get_filename_component(veld_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(VELD_MSVC_ABI_DIR "${veld_root}/cmake/MsvcAbi" CACHE INTERNAL "")
set(VELD_MSVC_STL_DIR "${veld_root}/third_party/msvc-stl/stl" CACHE INTERNAL "")
set(VELD_WINE_INCLUDE_DIR "/usr/include/wine/wine" CACHE PATH "Wine's C runtime (msvcrt) and Win32 (windows) headers")
set(VELD_WINE_DLL_DIR "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows" CACHE PATH "Wine's 64-bit DLLs")
execute_process(COMMAND ${CMAKE_C_COMPILER} -print-resource-dir OUTPUT_VARIABLE clang_resource_dir
                OUTPUT_STRIP_TRAILING_WHITESPACE)

# The include order is the ABI: clang's own headers, the vcruntime stand-ins, the STL, the fixes to
# Wine's headers, Wine's C runtime, Wine's Win32. In C++ Wine makes WCHAR a char16_t unless told that
# wchar_t is native, which would change every decorated name that holds one (_S instead of _W).
set(include_flags
    "-nostdinc"
    "-isystem ${clang_resource_dir}/include"
    "-isystem ${VELD_MSVC_ABI_DIR}/vcruntime"
    "-isystem ${VELD_MSVC_STL_DIR}/inc"
    "-isystem ${VELD_MSVC_ABI_DIR}/wine-fixes"
    "-isystem ${VELD_WINE_INCLUDE_DIR}/msvcrt"
    "-isystem ${VELD_WINE_INCLUDE_DIR}/windows")
string(JOIN " " include_flags ${include_flags})
# /MD: the DLL runtime. The STL's vectorised algorithms stay off: their static part needs AVX2 code
# generation for the whole file, which would make every module fail on a processor without AVX2.
set(runtime_flags "-fms-runtime-lib=dll -DWINE_UNICODE_NATIVE -D_USE_STD_VECTOR_ALGORITHMS=0")
set(CMAKE_C_FLAGS_INIT "${runtime_flags} ${include_flags}")
set(CMAKE_CXX_FLAGS_INIT "${runtime_flags} ${include_flags}")

# Every module and program gets its start-up and import libraries from MsvcRuntime.cmake, never the
# default libraries named in the objects (Microsoft's msvcrt.lib, msvcprt.lib, ...).
set(link_flags "-fuse-ld=lld -nostdlib -Wl,/nodefaultlib")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${link_flags}")

# Threads are Win32's, in kernel32: there is no thread library to look for.
set(CMAKE_THREAD_LIBS_INIT "")
set(CMAKE_HAVE_THREADS_LIBRARY 1)
set(CMAKE_USE_WIN32_THREADS_INIT 1)
set(Threads_FOUND TRUE)
set(CMAKE_HAVE_PTHREAD_H FALSE CACHE INTERNAL "")
set(CMAKE_HAVE_LIBC_PTHREAD FALSE CACHE INTERNAL "")
set(CMAKE_HAVE_PTHREADS_CREATE FALSE CACHE INTERNAL "")
set(CMAKE_HAVE_PTHREAD_CREATE FALSE CACHE INTERNAL "")

# No libraries behind the link's back: CMake's default list names SDK import libraries; each target
# here names the system DLLs it calls (and MsvcRuntime.cmake links the runtime).
set(CMAKE_C_STANDARD_LIBRARIES "" CACHE STRING "Libraries linked by every C program" FORCE)
set(CMAKE_CXX_STANDARD_LIBRARIES "" CACHE STRING "Libraries linked by every C++ program" FORCE)

set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
