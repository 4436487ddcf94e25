// The entry point of a console program whose entry is wmain: as ExeMain.c, with the arguments and
// environment in UTF-16.
#include "ExeStartup.h"

#include <corecrt_startup.h>
#include <stdlib.h>

int __cdecl wmain(int argc, wchar_t** argv, wchar_t** envp);

int __cdecl wmainCRTStartup(void) {
    _set_app_type(_crt_console_app);
    _configure_wide_argv(_crt_argv_unexpanded_arguments);
    _initialize_wide_environment();
    InitialiseProgramModule();
    exit(wmain(*__p___argc(), *__p___wargv(), *__p__wenviron()));
}
