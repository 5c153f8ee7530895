// The Csound function-table reader on tables built here: the header rules,
// line ends, and every way a table can be corrupt.

#include "infile/ac_infile_cs_ft.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Vemo::testing {
namespace {

const std::string table_line = "======= TABLE 1 size: 4 values ======\n";
const std::string header_end = "---------END OF HEADER--------------\n";

/// A table as ftsave writes it: line 1, some of the header, the end line,
/// then the value lines. With a one-line `header` the values begin on line 7.
std::string table(const std::string& header, const std::string& values)
{
    return table_line + "flen: 4\nlenmask: 3\n" + header + "fno: 1\n" + header_end + values;
}

struct Outcome {
    bool read = false;
    bool ok = false;
    std::string error_message;
    std::vector<double> values;
};

Outcome read_table(const Temp_folder& folder, const std::string& content)
{
    Ac_infile_cs_ft reader(folder.write("t.ftable", content));
    Outcome outcome;
    // The table is read when the file is opened; a corrupt one fails there.
    outcome.read = reader.open() && reader.read();
    outcome.ok = reader.ok;
    outcome.error_message = reader.error_message;
    outcome.values.assign(reader.data.get(), reader.data.get() + reader.data_size);
    return outcome;
}

TEST(Ac_infile_cs_ft, ReadsExactlyTableLengthValues)
{
    Temp_folder folder;
    struct Case {
        const char* what;
        std::string content;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"the guard point and the end line are left unread",
         table("flenfrms: 4\nnchnls: 1\n", "0.5\n-0.25\n1e-3\n0\n0.5\n---------END OF TABLE\n"),
         {0.5, -0.25, 0.001, 0.0}},
        {"the last value line needs no line feed",
         table("flenfrms: 4\nnchnls: 1\n", "1\n2\n3\n4"), {1, 2, 3, 4}},
        {"blanks before the length", table("flenfrms:  2\n", "1\n2\n"), {1, 2}},
        {"the last length line counts", table("flenfrms: 9\nflenfrms: 1\n", "7\n"), {7}},
        {"no length line reads no value", table("nchnls: 1\n", "not read\n"), {}},
        {"a length of 0 reads no value", table("flenfrms: 0\n", ""), {}},
        {"text after a value is ignored", table("flenfrms: 2\n", "  0.5 dB\n0x1p-1\n"), {0.5, 0.5}},
        {"keys count only at the start of a line",
         table(" flenfrms: 9\n nchnls: 2\nflenfrms: 1\n", "3\n"), {3}},
        {"a length with a plus sign and trailing blanks", table("flenfrms: +2  \n", "1\n2\n"),
         {1, 2}},
        {"long lines are read by their start",
         table("comment: " + std::string(10000, 'x') + "\nflenfrms: 1\n",
               "0.5" + std::string(10000, ' ') + "\n"),
         {0.5}},
    };
    for (const Case& c : cases) {
        const Outcome outcome = read_table(folder, c.content);
        EXPECT_TRUE(outcome.read) << c.what << ": " << outcome.error_message;
        EXPECT_TRUE(outcome.ok) << c.what;
        EXPECT_EQ(outcome.values, c.values) << c.what;
    }
}

TEST(Ac_infile_cs_ft, RefusesCorruptTablesWithTheirReason)
{
    Temp_folder folder;
    const std::string name = folder.path("t.ftable");
    struct Case {
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {"", " is not a Csound ftsave/ftsavek file."},
        {"=======TABLE 1 size: 4 values ======\n" + header_end,
         " is not a Csound ftsave/ftsavek file."},
        {"======= TABL\n", " is not a Csound ftsave/ftsavek file."},
        {table("nchnls: 2\n", ""), "contains more than one channel."},
        {table("nchnls: 0\n", ""), "contains more than one channel."},
        {table("nchnls: 2\nnchnls: 1\n", ""), "contains more than one channel."},
        {table("nchnls: 4294967297\n", ""), "contains more than one channel."},
        {table_line + "flenfrms: 4\n", " is corrupt, the header does not end."},
        {table_line, " is corrupt, the header does not end."},
        {table_line.substr(0, table_line.size() - 1), " is corrupt, the header does not end."},
        {table_line + header_end.substr(0, header_end.size() - 1),
         " is corrupt, the header does not end."},
        {table_line + "nchnls: 2\nflenfrms: 4\n", "contains more than one channel."},
        {table("flenfrms: -1\n", "1\n"), " is corrupt, the table length is not valid."},
        {table("flenfrms: abc\n", ""), " is corrupt, the table length is not valid."},
        {table("flenfrms:\n", ""), " is corrupt, the table length is not valid."},
        {table("flenfrms: 18446744073709551616\n", ""),
         " is corrupt, the table length is not valid."},
        {table("flenfrms: 2.5\n", "1\n2\n3\n"), " is corrupt, the table length is not valid."},
        {table("nchnls: 2\nflenfrms: -1\n", ""), "contains more than one channel."},
        {table("flenfrms: 4\n", "1\n2\n3\n"), " is corrupt, there are not enough values."},
        {table("flenfrms: 18446744073709551615\n", "1\n2\n"),
         " is corrupt, there are not enough values."},
        {table("flenfrms: 3\n", "1\n\n3\n"), " is corrupt, line 8 does not hold a number."},
        {table("flenfrms: 3\n", "1\n2\n   \n"), " is corrupt, line 9 does not hold a number."},
        {table("flenfrms: 2\n", "half\n0.5\n"), " is corrupt, line 7 does not hold a number."},
        {table("flenfrms: 2\n", "\r\n0.5\n"), " is corrupt, line 7 does not hold a number."},
        {table("flenfrms: 2\n", "1\n1e999\n"),
         " is corrupt, line 8 holds a number that is out of range."},
        {table("flenfrms: 1\n", "1." + std::string(4095, '0') + "\n"),
         " is corrupt, line 7 does not hold a number."},
        {table("flenfrms: 1" + std::string(10000, ' ') + "\n", "1\n"),
         " is corrupt, the table length is not valid."},
    };
    for (const Case& c : cases) {
        const Outcome outcome = read_table(folder, c.content);
        EXPECT_FALSE(outcome.read) << c.message;
        EXPECT_FALSE(outcome.ok) << c.message;
        EXPECT_EQ(outcome.error_message, name + c.message);
        EXPECT_TRUE(outcome.values.empty()) << c.message;
    }
}

}  // namespace
}  // namespace Vemo::testing
