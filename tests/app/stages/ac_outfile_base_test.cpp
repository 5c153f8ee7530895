#include "outfile/ac_outfile_plaintext.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace Vemo {
namespace {

using testing::file_exists;
using testing::read_file;
using testing::Temp_folder;

TEST(Ac_outfile_base, RefusesAPathThatAppearedAfterConstruction)
{
    Temp_folder folder;
    const std::string path = folder.path("out.txt");
    Ac_outfile_plaintext writer(path);
    EXPECT_TRUE(writer.ok);
    folder.write("out.txt", "precious");
    EXPECT_FALSE(writer.open());
    EXPECT_EQ(writer.error_message, path + " already exists and will not be overwritten.");
    writer.remove_created_file();
    EXPECT_EQ(read_file(path), "precious");
}

TEST(Ac_outfile_base, RefusesALinkThatAppearedAfterConstruction)
{
    Temp_folder folder;
    const std::string path = folder.path("out.txt");
    Ac_outfile_plaintext writer(path);
    ASSERT_EQ(::symlink("target.txt", path.c_str()), 0);
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(file_exists(folder.path("target.txt")));
}

TEST(Ac_outfile_base, RemovesOnlyTheFileItCreated)
{
    Temp_folder folder;
    const std::string path = folder.path("out.txt");
    {
        Ac_outfile_plaintext writer(path);
        ASSERT_TRUE(writer.open());
        writer.close();
        writer.remove_created_file();
        EXPECT_FALSE(file_exists(path));
    }
    {
        // Someone replaced the file meanwhile: theirs stays.
        Ac_outfile_plaintext writer(path);
        ASSERT_TRUE(writer.open());
        writer.close();
        ASSERT_EQ(::unlink(path.c_str()), 0);
        folder.write("out.txt", "theirs");
        writer.remove_created_file();
        EXPECT_EQ(read_file(path), "theirs");
    }
}

TEST(Ac_outfile_base, CreatesNothingWhenNeverOpened)
{
    Temp_folder folder;
    {
        Ac_outfile_plaintext writer(folder.path("out.txt").c_str());
        writer.close();
        writer.remove_created_file();
    }
    EXPECT_FALSE(file_exists(folder.path("out.txt")));
}

}  // namespace
}  // namespace Vemo
