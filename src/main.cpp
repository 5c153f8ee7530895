#include "app/ac_application.hpp"

#include <fcntl.h>
#include <malloc.h>
#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace {

/// Opens each of standard input, output and error that the program was
/// started without on /dev/null. Otherwise the first files the program opens
/// would get their numbers, and its messages would go into them.
void open_closed_standard_streams()
{
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        if (::fcntl(stream, F_GETFD) < 0 && ::open("/dev/null", O_RDWR) != stream)
            std::_Exit(1);
}

/// The threads of the synthesis, analysis and resizing keep little on their
/// stacks, and allocate only what the memory budget counted. Their stacks and
/// allocator arenas count under RLIMIT_AS however little of them is used: by
/// default 8 MiB of stack and a 64 MiB arena for each thread, where a small
/// stack and the one arena of the program serve.
void keep_threads_small()
{
    ::mallopt(M_ARENA_MAX, 1);
    pthread_attr_t threads;
    if (::pthread_attr_init(&threads) != 0)
        return;
    if (::pthread_attr_setstacksize(&threads, 256u << 10) == 0)
        ::pthread_setattr_default_np(&threads);
    ::pthread_attr_destroy(&threads);
}

}  // namespace

int main(int argc, char** argv)
{
    open_closed_standard_streams();
    // A file-size limit must end in a reported write failure, not kill the
    // program halfway through a file.
    std::signal(SIGXFSZ, SIG_IGN);
    keep_threads_small();

    Vemo::Ac_application application(argc, argv);
    application.run();
    return application.success ? 0 : 1;
}
