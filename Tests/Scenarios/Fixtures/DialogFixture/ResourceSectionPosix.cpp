// The dialog fixture's resources in the ".apxres" section, where RS looks for them on ELF.
__asm__(".pushsection .apxres,\"\",@progbits\n"
        ".incbin \"" FIXTURE_RES_FILE "\"\n"
        ".popsection\n");
