#pragma once

#include "system/new_file.hpp"
#include "stage/stage_status.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Vemo {

/// A writer stores the converted values in a new output file, which comes
/// to life as a `New_file`: it appears at its path only once complete, and
/// nothing that exists is ever replaced. The writer says what to write; the
/// base turns what happens to the file into the writer's messages.
class Ac_outfile_base : public Stage_status {
public:
    /// Stores the name and checks that nothing exists at the path yet, in any
    /// form: a link, even a dangling one, is something that exists.
    explicit Ac_outfile_base(const std::string& file_name);
    explicit Ac_outfile_base(const char* file_name);
    virtual ~Ac_outfile_base() = default;
    Ac_outfile_base(const Ac_outfile_base&) = delete;
    Ac_outfile_base& operator=(const Ac_outfile_base&) = delete;

    /// Creates and opens the output file: true when already open, false when
    /// unusable. Writers that hand the file to a library open it their way.
    virtual bool open();
    /// Finishes and closes the file if it is open. A writer whose last bytes
    /// cannot be stored becomes unusable, with the reason.
    virtual void close();
    /// Writes the `data_size` values of `data` in the writer's format.
    virtual bool write() = 0;
    virtual bool set_wave_number(std::uint32_t n);
    /// Chooses the synth's wavetable (0 for none) that is to play the waves
    /// written; only the wave dump format holds one, the others refuse it.
    virtual bool set_table_number(std::uint32_t n);
    /// Takes the shape of what will be written: `waves` waves of `wave_size`
    /// values each, one after another. A format that cannot hold such a
    /// table refuses it here, before its file is created.
    virtual bool set_table(std::uint64_t waves, std::uint64_t wave_size);
    /// Whether the format keeps the level of each wave of a table; where it
    /// does not, each wave is brought to full scale on its own.
    virtual bool keeps_levels() const { return true; }
    /// The bytes that writing `count` values takes at most: their copy and
    /// whatever the format builds from them.
    virtual std::uint64_t memory_needed(std::uint64_t count) const;

    /// Copies the values to write; refuses a second copy, keeping the first.
    bool set_data(const double* values, std::uint64_t count);
    /// Closes the complete file and puts it at its path; fails when anything
    /// appeared there meanwhile, which is left as it is.
    bool publish();
    /// Lets go of the output file after a failed run: nothing of it remains.
    void remove_created_file();

    const std::string file_name;
    std::uint32_t wave_number = 0;
    std::uint32_t sample_rate = 44100;
    std::unique_ptr<double[]> data;
    std::uint64_t data_size = 0;
    /// The waves `data` holds one after another: 1 but in a table run.
    std::uint64_t wave_count = 1;
    bool is_open = false;

protected:
    /// The values of one wave of `data`.
    std::uint64_t wave_size() const { return wave_count == 0 ? 0 : data_size / wave_count; }
    /// Creates the file, or fails with the message for the reason.
    bool create_file();
    /// The message for a file that cannot be created for the system's reason
    /// `error` (other than a path that is taken).
    virtual std::string creation_failure(int error) const;
    /// The message for a path that is taken.
    std::string already_exists() const;
    /// The checks before a text or picture is written: the file must be open
    /// and hold data, with a message for each; an unusable writer says nothing
    /// new.
    bool ready_to_write();
    /// Writes all bytes to the file, or fails with "Not all data was written
    /// to " and the file name.
    bool write_bytes(const void* bytes, std::size_t count);
    /// Hands the file's descriptor to a library that closes it itself.
    int hand_over_descriptor();
    /// The message for bytes that did not all reach the file.
    std::string not_all_written() const;

private:
    enum class File_step { creation, publication };
    /// Turns the new file's result for `step` into the writer's status: true
    /// for 0, otherwise a failure with the message for the reason.
    bool take_result(int error, File_step step);

    New_file new_file;
};

}  // namespace Vemo
