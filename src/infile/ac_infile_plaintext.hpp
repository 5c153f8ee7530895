#pragma once

#include "infile/ac_infile_text.hpp"

namespace Vemo {

/// Reads a text file of one number per line, a wave or a spectrum alike.
/// Lines of white space are skipped; any other line must begin with a number.
class Ac_infile_plaintext : public Ac_infile_text {
public:
    using Ac_infile_text::Ac_infile_text;

    bool read() override;
};

}  // namespace Vemo
