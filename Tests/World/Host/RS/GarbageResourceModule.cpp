// A module whose ".apxres" section holds bytes that are not a resource file.
__asm__(".pushsection .apxres,\"\",@progbits\n"
        ".ascii \"these bytes are no resource file\"\n"
        ".popsection\n");

extern "C" __attribute__((visibility("default"))) int GarbageResourceModuleAnchor() {
    return 1;
}
