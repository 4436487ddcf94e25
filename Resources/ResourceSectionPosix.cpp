// The module's resources on platforms without PE resources: the very .res bytes that Windows gets,
// in a section named ".apxres" that is not loaded into memory. RS finds the module's file and reads
// the section from it (RSInitModuleImageCache).
__asm__(".pushsection .apxres,\"\",@progbits\n"
        ".incbin \"" APXRES_FILE "\"\n"
        ".popsection\n");
