// What every writer inherits from its base: a path taken between the
// writer's construction and its open is refused, writing needs an open file
// and data, and a failed run removes only the file that the writer created.

#include "outfile/ac_outfile_audio.hpp"
#include "outfile/ac_outfile_mw2.hpp"
#include "outfile/ac_outfile_plaintext.hpp"
#include "outfile/ac_outfile_svg.hpp"
#include "outfile/ac_outfile_yoshimi.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>
#include <memory>

namespace Vemo::testing {
namespace {

struct Writer_kind {
    std::string file;
    std::function<std::unique_ptr<Ac_outfile_base>(const std::string&)> make;
};

template <class Writer>
std::unique_ptr<Ac_outfile_base> make_writer(const std::string& path)
{
    return std::make_unique<Writer>(path);
}

const Writer_kind writer_kinds[] = {
    {"out.txt", make_writer<Ac_outfile_plaintext>},
    {"out.wav", make_writer<Ac_outfile_audio>},
    {"out.syx", make_writer<Ac_outfile_mw2>},
    {"out.ysc", make_writer<Ac_outfile_yoshimi>},
    {"out.svg",
     [](const std::string& path) { return std::make_unique<Ac_outfile_svg>(path, "wave"); }},
};

TEST(Ac_outfile_base, RefusesAPathTakenAfterConstruction)
{
    for (const Writer_kind& kind : writer_kinds)
        for (const bool as_link : {false, true}) {
            SCOPED_TRACE(kind.file + (as_link ? " as a dangling link" : " as a file"));
            const Temp_folder folder;
            const std::string path = folder.path(kind.file);
            const std::unique_ptr<Ac_outfile_base> writer = kind.make(path);
            EXPECT_TRUE(writer->ok);
            if (as_link)
                ASSERT_EQ(::symlink("target", path.c_str()), 0);
            else
                folder.write(kind.file, "precious");
            EXPECT_FALSE(writer->open());
            EXPECT_EQ(writer->error_message, path + " already exists and will not be overwritten.");
            writer->remove_created_file();
            EXPECT_EQ(read_file(path), as_link ? "" : "precious");
            EXPECT_FALSE(file_exists(folder.path("target")));
        }
}

TEST(Ac_outfile_base, WritesOnlyWhenOpenAndGivenData)
{
    // Every writer explains what is missing; the audio writer, with messages
    // of its own, has its own test.
    for (const Writer_kind& kind : writer_kinds) {
        if (kind.file == "out.wav")
            continue;
        SCOPED_TRACE(kind.file);
        const Temp_folder folder;
        const std::string path = folder.path(kind.file);
        const std::unique_ptr<Ac_outfile_base> writer = kind.make(path);
        EXPECT_FALSE(writer->write());
        EXPECT_FALSE(file_exists(path));
        EXPECT_EQ(writer->error_message, "Can't write data, file " + path + " is not open.");
        ASSERT_TRUE(writer->open());
        EXPECT_FALSE(writer->write());
        EXPECT_TRUE(writer->ok);
        EXPECT_EQ(writer->error_message, "There is no data to write to file " + path);
        const double values[] = {1.0, -0.5};
        EXPECT_TRUE(writer->set_data(values, 2));
        EXPECT_FALSE(writer->set_data(values, 1)) << "a second copy is refused";
        EXPECT_EQ(writer->error_message,
                  "The values to write to file " + path + " were already given.");
        EXPECT_TRUE(writer->write()) << writer->error_message;
    }
}

TEST(Ac_outfile_base, PutsTheFileAtItsPathOnlyWhenComplete)
{
    const double values[] = {1.0, -0.5};
    for (const Writer_kind& kind : writer_kinds)
        for (const bool taken_meanwhile : {false, true}) {
            SCOPED_TRACE(kind.file + (taken_meanwhile ? " taken meanwhile" : ""));
            const Temp_folder folder;
            const std::string path = folder.path(kind.file);
            const std::unique_ptr<Ac_outfile_base> writer = kind.make(path);
            ASSERT_TRUE(writer->open());
            ASSERT_TRUE(writer->set_data(values, 2));
            ASSERT_TRUE(writer->write());
            EXPECT_EQ(folder.names(), std::vector<std::string>{}) << "visible before it is complete";
            if (taken_meanwhile)
                folder.write(kind.file, "theirs");

            EXPECT_EQ(writer->publish(), !taken_meanwhile) << writer->error_message;
            writer->remove_created_file();
            EXPECT_EQ(folder.names(), std::vector<std::string>{kind.file});
            if (taken_meanwhile) {
                EXPECT_EQ(writer->error_message,
                          path + " already exists and will not be overwritten.");
                EXPECT_EQ(read_file(path), "theirs");
            } else {
                EXPECT_NE(read_file(path), "");
            }
        }
}

}  // namespace
}  // namespace Vemo::testing
