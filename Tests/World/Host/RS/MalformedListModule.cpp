// A module whose ".apxres" section is a well-formed resource file holding malformed string lists:
//   STRS 1: count 9, but only 3 bytes follow
//   STRS 2: the last text has no closing NUL
//   STRS 3: shorter than its own count field
//   STRS 4: a good list ("OK"), but in language 1031, which the host does not read
//   STRS 5: a good list ("OK") in language 1033
__asm__(".pushsection .apxres,\"\",@progbits\n"
        ".macro resource_header number, language, size\n"
        "  .balign 4\n"
        "  .long \\size, 40\n"
        "  .short 0x53, 0x54, 0x52, 0x53, 0, 0xFFFF, \\number, 0\n" // "STRS", ordinal, pad
        "  .long 0\n"
        "  .short 0x30, \\language\n"
        "  .long 0, 0\n"
        ".endm\n"
        // The leading empty entry.
        "  .long 0, 32\n"
        "  .short 0xFFFF, 0, 0xFFFF, 0\n"
        "  .long 0\n"
        "  .short 0, 0\n"
        "  .long 0, 0\n"
        "resource_header 1, 1033, 7\n"
        "  .byte 9, 0, 0, 0, 0x4F, 0x4B, 0\n"
        "resource_header 2, 1033, 7\n"
        "  .byte 3, 0, 0, 0, 0x4F, 0x4B, 0x21\n"
        "resource_header 3, 1033, 2\n"
        "  .byte 1, 0\n"
        "resource_header 4, 1031, 7\n"
        "  .byte 3, 0, 0, 0, 0x4F, 0x4B, 0\n"
        "resource_header 5, 1033, 7\n"
        "  .byte 3, 0, 0, 0, 0x4F, 0x4B, 0\n"
        "  .balign 4\n"
        ".purgem resource_header\n"
        ".popsection\n");

extern "C" __attribute__((visibility("default"))) int MalformedListModuleAnchor() {
    return 1;
}
