// What every reader inherits from its base: the path checks with their
// messages, reading only between open and close, a second open that keeps
// the file already open, and one "Default" wave for single-wave formats.

#include "infile/ac_infile_audio.hpp"
#include "infile/ac_infile_cs_ft.hpp"
#include "infile/ac_infile_mw2.hpp"
#include "infile/ac_infile_plaintext.hpp"
#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"
#include "support/wave_dump_bytes.hpp"

#include <gtest/gtest.h>

#include <stdio.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <memory>

namespace Vemo::testing {
namespace {

struct Reader_kind {
    std::string extension;
    std::function<std::unique_ptr<Ac_infile_base>(const std::string&)> make;
    /// Writes a file whose first value is positive or negative.
    void (*write)(const std::string& path, bool positive);
    bool single_wave;
};

template <class Reader>
std::unique_ptr<Ac_infile_base> make_reader(const std::string& path)
{
    return std::make_unique<Reader>(path);
}

void write_text(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

const Reader_kind reader_kinds[] = {
    {".txt", make_reader<Ac_infile_plaintext>,
     [](const std::string& path, bool positive) { write_text(path, positive ? "1\n0\n" : "-1\n"); },
     true},
    {".ftable", make_reader<Ac_infile_cs_ft>,
     [](const std::string& path, bool positive) {
         write_text(path, "======= TABLE 1 size: 2 values ======\nflenfrms: 2\n"
                          "---------END OF HEADER--------------\n" +
                              std::string(positive ? "1\n0\n" : "-1\n0\n"));
     },
     true},
    {".wav", make_reader<Ac_infile_audio>,
     [](const std::string& path, bool positive) {
         write_sound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, {positive ? 0.5 : -0.5});
     },
     true},
    {".syx", make_reader<Ac_infile_mw2>,
     [](const std::string& path, bool positive) {
         std::vector<int> codes = one_harmonic_codes;
         for (int& code : codes)
             code = positive ? code : 256 - code;
         write_text(path, wave_dump(1000, codes));
     },
     false},
};

TEST(Ac_infile_base, RefusesPathsThatAreNoFiles)
{
    const Temp_folder folder;
    ::symlink("nowhere", folder.path("dangling").c_str());
    const std::pair<std::string, std::string> cases[] = {
        {folder.path("missing"), folder.path("missing") + " does not exist."},
        {folder.path("dangling"), folder.path("dangling") + " does not exist."},
        {folder.root, folder.root + " is not a file."},
        {"", " does not exist."},
    };
    for (const Reader_kind& kind : reader_kinds)
        for (const auto& [path, message] : cases) {
            const std::unique_ptr<Ac_infile_base> reader = kind.make(path);
            EXPECT_FALSE(reader->open()) << kind.extension << " " << path;
            EXPECT_FALSE(reader->read());
            EXPECT_FALSE(reader->ok);
            EXPECT_EQ(reader->error_message, message) << kind.extension;
        }
}

TEST(Ac_infile_base, ReadsOnlyBetweenOpenAndCloseFromTheFileFirstOpened)
{
    for (const Reader_kind& kind : reader_kinds) {
        SCOPED_TRACE(kind.extension);
        const Temp_folder folder;
        const std::string path = folder.path("first" + kind.extension);
        const std::string replacement = folder.path("second" + kind.extension);
        kind.write(path, true);
        kind.write(replacement, false);
        const std::unique_ptr<Ac_infile_base> reader = kind.make(path);
        EXPECT_FALSE(reader->read()) << "nothing to read before open";
        EXPECT_TRUE(reader->ok);
        EXPECT_EQ(reader->error_message, "Can't read data, file " + path + " is not open.");
        ASSERT_TRUE(reader->open());
        // A second open keeps the file already open, whatever the path names now.
        ASSERT_EQ(::rename(replacement.c_str(), path.c_str()), 0);
        EXPECT_TRUE(reader->open());
        ASSERT_TRUE(reader->read()) << reader->error_message;
        ASSERT_GT(reader->data_size, 0u);
        EXPECT_GT(reader->data[0], 0.0);
        reader->close();
        reader->close();
        EXPECT_FALSE(reader->is_open);
        EXPECT_FALSE(reader->read()) << "nothing to read after close";
        EXPECT_EQ(reader->error_message, "Can't read data, file " + path + " is not open.");
        if (kind.single_wave) {
            EXPECT_TRUE(reader->select_wave(7));
            EXPECT_EQ(reader->wave_count(), 1u);
            EXPECT_EQ(reader->list_waves(), std::vector<std::string>{"Default"});
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
