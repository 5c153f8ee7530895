#pragma once

#include "stage/ac_infile_base.hpp"

#include <fstream>

namespace Vemo {

/// Reads a text file of one number per line, a wave or a spectrum alike.
/// Lines of white space are skipped; any other line must begin with a number.
class Ac_infile_plaintext : public Ac_infile_base {
public:
    explicit Ac_infile_plaintext(const std::string& file_name);
    explicit Ac_infile_plaintext(const char* file_name);
    ~Ac_infile_plaintext() override;

    void close() override;
    bool open() override;
    bool read() override;

private:
    std::ifstream file_stream;
};

}  // namespace Vemo
