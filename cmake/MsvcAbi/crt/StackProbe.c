// __chkstk: the compiler calls it before a function allocates a frame larger than a page, with the
// frame's size in RAX. It touches every page of the new frame in order, from the top down, so that
// each access hits the stack's guard page in turn and Windows can grow the stack; it leaves RSP and
// every register as they were.
__asm__(".text\n"
        ".globl __chkstk\n"
        "__chkstk:\n"
        "    pushq %rcx\n"
        "    pushq %rax\n"
        "    leaq 24(%rsp), %rcx\n" // the caller's RSP before its call
        "    cmpq $0x1000, %rax\n"
        "    jb 2f\n"
        "1:\n"
        "    subq $0x1000, %rcx\n"
        "    testq %rcx, (%rcx)\n"
        "    subq $0x1000, %rax\n"
        "    cmpq $0x1000, %rax\n"
        "    ja 1b\n"
        "2:\n"
        "    subq %rax, %rcx\n"
        "    testq %rcx, (%rcx)\n"
        "    popq %rax\n"
        "    popq %rcx\n"
        "    ret\n");
