// The entry point of a console program whose entry is main: the Universal C runtime is told the
// kind of program and prepares the arguments and environment, the module's static initialisers run,
// then main; its result goes to exit(), which runs what atexit registered and flushes the streams.
#include "ExeStartup.h"

#include <corecrt_startup.h>
#include <stdlib.h>

int __cdecl main(int argc, char** argv, char** envp);

int __cdecl mainCRTStartup(void) {
    _set_app_type(_crt_console_app);
    _configure_narrow_argv(_crt_argv_unexpanded_arguments);
    _initialize_narrow_environment();
    InitialiseProgramModule();
    exit(main(*__p___argc(), *__p___argv(), *__p__environ()));
}
