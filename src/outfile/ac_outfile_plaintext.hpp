#pragma once

#include "stage/ac_outfile_base.hpp"

namespace Vemo {

/// Writes values as text, one per line, with six significant digits in the
/// classic C notation; every line ends with a line feed, the last one too.
class Ac_outfile_plaintext : public Ac_outfile_base {
public:
    using Ac_outfile_base::Ac_outfile_base;

    bool write() override;
};

}  // namespace Vemo
