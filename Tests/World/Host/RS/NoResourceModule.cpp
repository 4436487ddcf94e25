// A library with no resources at all, not even a version: RS must find nothing to read in it. (The
// host libraries cannot serve: on Windows they carry their VERSIONINFO.)
#ifdef _WIN32
#define NO_RESOURCE_MODULE_EXPORT __declspec(dllexport)
#else
#define NO_RESOURCE_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" NO_RESOURCE_MODULE_EXPORT int NoResourceModuleFunction() {
    return 0;
}
