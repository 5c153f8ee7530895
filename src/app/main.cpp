#include "app/ac_application.hpp"

#include <fcntl.h>
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

}  // namespace

int main(int argc, char** argv)
{
    open_closed_standard_streams();
    // A file-size limit must end in a reported write failure, not kill the
    // program halfway through a file.
    std::signal(SIGXFSZ, SIG_IGN);

    Vemo::Ac_application application(argc, argv);
    application.run();
    return application.success ? 0 : 1;
}
