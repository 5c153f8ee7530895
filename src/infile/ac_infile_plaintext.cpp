#include "infile/ac_infile_plaintext.hpp"

#include <cstdint>
#include <vector>

namespace Vemo {

bool Ac_infile_plaintext::read()
{
    if (!ready_to_read())
        return false;
    std::vector<double> values;
    return read_values(UINT64_MAX, Blank_lines::skipped, file_name + ": ", values) &&
           store_data(values);
}

}  // namespace Vemo
