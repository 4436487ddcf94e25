// A module whose ".apxres" section is a resource file cut short: after the leading empty entry, a
// "STRS" 1 header promises 64 bytes of data and the section ends 6 bytes into them.
__asm__(".pushsection .apxres,\"\",@progbits\n"
        "  .long 0, 32\n"
        "  .short 0xFFFF, 0, 0xFFFF, 0\n"
        "  .long 0\n"
        "  .short 0, 0\n"
        "  .long 0, 0\n"
        "  .long 64, 40\n"
        "  .short 0x53, 0x54, 0x52, 0x53, 0, 0xFFFF, 1, 0\n"
        "  .long 0\n"
        "  .short 0x30, 1033\n"
        "  .long 0, 0\n"
        "  .byte 2, 0, 0, 0, 0x4F, 0\n"
        ".popsection\n");

extern "C" __attribute__((visibility("default"))) int TruncatedResourceModuleAnchor() {
    return 1;
}
