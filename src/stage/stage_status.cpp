#include "stage/stage_status.hpp"

#include <utility>

namespace Vemo {

bool Stage_status::fail(std::string message)
{
    if (ok)
        error_message = std::move(message);
    ok = false;
    return false;
}

bool Stage_status::report(std::string message)
{
    if (ok)
        error_message = std::move(message);
    return false;
}

}  // namespace Vemo
