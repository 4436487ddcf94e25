/* expat's build configuration for the Windows target (cmake/MsvcRuntime.cmake compiles Debian's
   source package, unchanged, with this header): the features Debian's own build of the library has,
   so that VeldEngineer.exe reads alike on both targets. The entropy for expat's hash salt comes from
   rand_s, which expat picks by itself on _WIN32. */
#ifndef EXPAT_CONFIG_H
#define EXPAT_CONFIG_H 1

/* x86-64: little-endian */
#define BYTEORDER 1234

/* The parse context kept before the current position: XML_GetInputContext, which the reader reads
   the bytes of a fault from. */
#define XML_CONTEXT_BYTES 1024

/* The DTD code, and with it the limits on entity amplification. */
#define XML_DTD 1

/* Namespace processing available (the reader does not ask for it). */
#define XML_NS 1

#endif
