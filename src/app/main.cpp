#include "app/ac_application.hpp"

#include <csignal>

int main(int argc, char** argv)
{
    // A file-size limit must end in a reported write failure, not kill the
    // program halfway through a file.
    std::signal(SIGXFSZ, SIG_IGN);

    Vemo::Ac_application application(argc, argv);
    application.run();
    return application.success ? 0 : 1;
}
