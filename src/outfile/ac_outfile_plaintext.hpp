#pragma once

#include "stage/ac_outfile_base.hpp"

namespace Vemo {

/// Writes values as text, one per line, with six significant digits in the
/// classic C notation; every line ends with a line feed, the last one too.
class Ac_outfile_plaintext : public Ac_outfile_base {
public:
    explicit Ac_outfile_plaintext(const std::string& file_name);
    explicit Ac_outfile_plaintext(const char* file_name);

    bool write() override;
};

}  // namespace Vemo
