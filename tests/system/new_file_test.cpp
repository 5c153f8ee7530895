// A new file is at its path only once published, never replaces anything,
// and leaves nothing behind when it is not published.

#include "system/new_file.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace Vemo::testing {
namespace {

const std::string content = "complete";

TEST(New_file, AppearsAtItsPathOnlyWhenPublished)
{
    const Temp_folder folder;
    const std::string path = folder.path("out.txt");
    New_file file(path);
    ASSERT_EQ(file.create(), 0);
    ASSERT_TRUE(file.write(content.data(), content.size()));
    ASSERT_TRUE(file.close());
    EXPECT_EQ(folder.names(), std::vector<std::string>{}) << "visible before it is published";
    EXPECT_EQ(file.publish(), 0);
    EXPECT_FALSE(file.created());
    EXPECT_EQ(read_file(path), content);
}

TEST(New_file, LeavesNothingWhenNotPublished)
{
    const Temp_folder folder;
    for (const bool discarded : {true, false}) {
        SCOPED_TRACE(discarded ? "discarded" : "destroyed");
        auto file = std::make_unique<New_file>(folder.path("out.txt"));
        ASSERT_EQ(file->create(), 0);
        ASSERT_TRUE(file->write(content.data(), content.size()));
        if (discarded)
            file->discard();
        file.reset();
        EXPECT_EQ(folder.names(), std::vector<std::string>{});
    }
}

TEST(New_file, NeverReplacesWhatIsAtThePath)
{
    struct Case {
        std::string description;
        bool taken_before_creation;
        bool as_link;
    };
    const Case cases[] = {
        {"a file before creation", true, false},
        {"a dangling link before creation", true, true},
        {"a file before publication", false, false},
        {"a dangling link before publication", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description);
        const Temp_folder folder;
        const std::string path = folder.path("out.txt");
        const auto take = [&] {
            if (c.as_link)
                ASSERT_EQ(::symlink("target", path.c_str()), 0);
            else
                folder.write("out.txt", "theirs");
        };
        New_file file(path);
        if (c.taken_before_creation) {
            take();
            EXPECT_EQ(file.create(), EEXIST);
            EXPECT_FALSE(file.created());
        } else {
            ASSERT_EQ(file.create(), 0);
            ASSERT_TRUE(file.write(content.data(), content.size()));
            ASSERT_TRUE(file.close());
            take();
            EXPECT_EQ(file.publish(), EEXIST);
            file.discard();
        }
        EXPECT_EQ(folder.names(), std::vector<std::string>{"out.txt"});
        EXPECT_EQ(read_file(path), c.as_link ? "" : "theirs");
        EXPECT_FALSE(file_exists(folder.path("target"))) << "a link was followed";
    }
}

TEST(New_file, PathsThatNameNoNewFileAreRefusedAtCreation)
{
    const Temp_folder folder;
    folder.write("plain", "");
    struct Case {
        std::string path;
        int error;
    };
    const Case cases[] = {
        {"", ENOENT},
        {folder.path("missing/out.txt"), ENOENT},
        {folder.path("plain/out.txt"), ENOTDIR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("'" + c.path + "'");
        New_file file(c.path);
        EXPECT_EQ(file.create(), c.error);
        EXPECT_FALSE(file.created());
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"plain"});
}

TEST(New_file, AHandedOverDescriptorWritesTheSameFile)
{
    const Temp_folder folder;
    const std::string path = folder.path("out.wav");
    New_file file(path);
    ASSERT_EQ(file.create(), 0);
    const int descriptor = file.hand_over();
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(::write(descriptor, content.data(), content.size()),
              static_cast<ssize_t>(content.size()));
    ASSERT_EQ(::close(descriptor), 0);
    EXPECT_TRUE(file.close()) << "nothing is left to close here";
    EXPECT_EQ(file.publish(), 0);
    EXPECT_EQ(read_file(path), content);
}

}  // namespace
}  // namespace Vemo::testing
