// The load configuration directory (_load_config_used, which the linker makes the image's directory
// entry): where the loader finds the stack cookie to randomise (SecurityCookie.c) and the Control
// Flow Guard tables.
//
// Control Flow Guard (/guard:cf): every indirect call in code compiled with it goes through
// __guard_dispatch_icall_fptr with the target in RAX. Here the pointer leads to a plain jump; on a
// Windows that enforces the guard, the loader replaces it (it sits in the read-only .00cfg section
// that the loader alone may rewrite) with its check against the table of valid call targets that
// the linker writes (__guard_fids_table) and names in this directory. Wine does not enforce it: the
// plain jump then runs, as on a Windows without the guard.
//
// Written in assembly: GuardFlags is a 32-bit field that takes the linker's absolute symbol
// __guard_flags, which C cannot express as a constant. Offsets follow the documented 64-bit layout;
// 280 bytes reach the EH continuation fields, the last ones the linker fills.
__asm__(".section .rdata,\"dr\"\n"
        ".p2align 3\n"
        ".globl _load_config_used\n"
        "_load_config_used:\n"
        "    .long 280\n"                         // Size
        "    .zero 84\n"                          // time stamp ... edit list: defaults
        "    .quad __security_cookie\n"           // 88 SecurityCookie
        "    .zero 16\n"                          // SEH handler table and count: 32-bit images only
        "    .quad __guard_check_icall_fptr\n"    // 112
        "    .quad __guard_dispatch_icall_fptr\n" // 120
        "    .quad __guard_fids_table\n"          // 128
        "    .quad __guard_fids_count\n"          // 136
        "    .long __guard_flags\n"               // 144
        "    .zero 12\n"                          // code integrity
        "    .quad __guard_iat_table\n"           // 160
        "    .quad __guard_iat_count\n"           // 168
        "    .quad __guard_longjmp_table\n"       // 176
        "    .quad __guard_longjmp_count\n"       // 184
        "    .zero 72\n"                          // dynamic relocations ... volatile metadata
        "    .quad __guard_eh_cont_table\n"       // 264
        "    .quad __guard_eh_cont_count\n"       // 272
        "\n"
        ".section .00cfg,\"dr\"\n"
        ".p2align 3\n"
        ".globl __guard_check_icall_fptr\n"
        "__guard_check_icall_fptr:\n"
        "    .quad GuardCheckNothing\n"
        ".globl __guard_dispatch_icall_fptr\n"
        "__guard_dispatch_icall_fptr:\n"
        "    .quad GuardDispatchUnchecked\n"
        "\n"
        ".text\n"
        "GuardCheckNothing:\n"
        "    ret\n"
        "GuardDispatchUnchecked:\n"
        "    jmp *%rax\n");
