// Built into every library and module of the mingw-w64 build (release_runtime_pool_at_unload in
// HostLibrary.cmake). Each carries its own copy of the GNU C++ runtime, linked in statically so that
// it loads with nothing beside it. That runtime takes its exception emergency pool (some 73 KB) from
// the C heap when the library loads, and gives it back only through __gnu_cxx::__freeres, which
// nothing calls when a library is unloaded: every load and unload of an add-on (and of a host
// library that comes and goes with it) would leave one pool behind in the process's heap. The pool is
// given back when the library's static objects are destroyed at unload.

namespace __gnu_cxx {
void __freeres();
} // namespace __gnu_cxx

namespace {

class RuntimePoolRelease {
public:
    RuntimePoolRelease() = default;
    ~RuntimePoolRelease() { __gnu_cxx::__freeres(); }
    RuntimePoolRelease(const RuntimePoolRelease&) = delete;
    RuntimePoolRelease& operator=(const RuntimePoolRelease&) = delete;
};

const RuntimePoolRelease release;

} // namespace
