// The memory that one transform of the analysis takes, against what the
// analysis budgets for it: for each length given, in a process of its own
// (bench/fft_memory starts one per length), the growth of the address space
// (VmPeak) and of the resident set (VmHWM) over allocating both arrays,
// planning R2HC with FFTW_ESTIMATE and executing, as the converter does.

#include "convert/ac_convert_wave_harm.hpp"

#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <fftw3.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct Fftw_free {
    void operator()(double* p) const { fftw_free(p); }
};
struct Fftw_destroy_plan {
    void operator()(fftw_plan_s* p) const { fftw_destroy_plan(p); }
};

/// A figure of /proc/self/status in KiB, read without the heap.
long status_kib(const char* key)
{
    char text[8192];
    const int file = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    const ssize_t got = file < 0 ? 0 : ::read(file, text, sizeof text - 1);
    if (file >= 0)
        ::close(file);
    text[got > 0 ? got : 0] = '\0';
    const char* at = std::strstr(text, key);
    return at ? std::atol(at + std::strlen(key)) : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fft_peak LENGTH\n");
        return 2;
    }
    // As in the program: one allocator arena.
    ::mallopt(M_ARENA_MAX, 1);
    const long n = std::atol(argv[1]);
    const long size_before = status_kib("VmSize:");
    const long resident_before = status_kib("VmRSS:");
    {
        const std::unique_ptr<double[], Fftw_free> samples(
            static_cast<double*>(fftw_malloc(sizeof(double) * n)));
        const std::unique_ptr<double[], Fftw_free> transform(
            static_cast<double*>(fftw_malloc(sizeof(double) * n)));
        const std::unique_ptr<fftw_plan_s, Fftw_destroy_plan> plan(fftw_plan_r2r_1d(
            static_cast<int>(n), samples.get(), transform.get(), FFTW_R2HC, FFTW_ESTIMATE));
        for (long j = 0; j < n; ++j)
            samples[j] = std::sin(0.001 * static_cast<double>(j));
        fftw_execute(plan.get());
    }
    const long address_space = (status_kib("VmPeak:") - size_before) * 1024;
    const long resident = (status_kib("VmHWM:") - resident_before) * 1024;
    const Vemo::Ac_convert_wave_harm converter(1);
    const auto copies = static_cast<std::uint64_t>(8 * n + 8);
    std::printf("%ld %ld %ld %llu\n", n, address_space, resident,
                static_cast<unsigned long long>(converter.memory_needed(n) - copies));
    return 0;
}
