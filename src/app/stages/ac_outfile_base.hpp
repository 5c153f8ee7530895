#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Vemo {

/// A writer stores the converted values in a new output file. It never
/// overwrites anything: a path that is taken in any form (file, directory,
/// link, even a dangling one) is refused. The file is written unnamed and
/// only put at its path once complete, so a run that ends early, even by a
/// signal, leaves nothing there. Where the file system has no unnamed files,
/// the file is created at its path and removed again after a failure or on
/// a signal that ends the program.
class Ac_outfile_base {
public:
    /// Stores the name and checks that nothing exists at the path yet.
    explicit Ac_outfile_base(const std::string& file_name);
    explicit Ac_outfile_base(const char* file_name);
    /// Closes the descriptor if a concrete writer left it open.
    virtual ~Ac_outfile_base();
    Ac_outfile_base(const Ac_outfile_base&) = delete;
    Ac_outfile_base& operator=(const Ac_outfile_base&) = delete;

    /// Creates and opens the output file.
    virtual bool open() = 0;
    /// Finishes and closes the file if it is open. A writer whose last bytes
    /// cannot be stored becomes unusable, with the reason.
    virtual void close() = 0;
    /// Writes the `data_size` values of `data` in the writer's format.
    virtual bool write() = 0;
    virtual bool set_wave_number(std::uint32_t n);
    /// The bytes that writing `count` values takes at most: their copy and
    /// whatever the format builds from them.
    virtual std::uint64_t memory_needed(std::uint64_t count) const;

    /// Copies the values to write; refuses a second copy.
    bool set_data(const double* values, std::uint64_t count);
    /// Closes the complete file and puts it at its path; fails when anything
    /// appeared there meanwhile, which is left as it is.
    bool publish();
    /// Removes the output file after a failed run, but only if this writer
    /// created it and the path still names that same file.
    void remove_created_file();

    const std::string file_name;
    std::uint32_t wave_number = 0;
    std::uint32_t sample_rate = 44100;
    std::unique_ptr<double[]> data;
    std::uint64_t data_size = 0;
    bool is_open = false;
    bool ok = true;
    std::string error_message;

protected:
    /// Makes the writer unusable with `message`; returns false.
    bool fail(std::string message);
    /// Stores `message` and returns false; the writer stays usable.
    bool report(std::string message);
    /// The open that most writers share: true when already open, false when
    /// unusable, otherwise creates the new file, keeps its descriptor and
    /// marks the writer open.
    bool open_new_file();
    /// Creates the new file for `file_name` and keeps its descriptor: 0 on
    /// success, otherwise the system's error number (EEXIST for a path that
    /// is taken). Writers that word the other failures themselves call it
    /// instead of `open_new_file`.
    int create_new_file();
    /// The message for a path that is taken.
    std::string already_exists() const;
    /// The checks before a text or picture is written: the file must be open
    /// and hold data, with a message for each; an unusable writer says nothing
    /// new.
    bool ready_to_write();
    /// Writes all bytes to the descriptor, or fails with "Not all data was
    /// written to " and the file name.
    bool write_bytes(const void* bytes, std::size_t count);
    /// Closes the descriptor, if still held, and marks the writer closed.
    void close_file();
    /// Hands the descriptor to a library that closes it itself.
    int release_descriptor();

private:
    /// Whether an unnamed file can later be linked through /proc.
    static bool can_be_named(int unnamed_descriptor);
    /// Keeps a second descriptor of the new file; 0, or the error number
    /// after letting go of the file.
    int keep_identity();
    /// Links the complete unnamed file at `file_name`.
    bool give_name();
    /// Stops guarding the created file and lets go of its descriptor.
    void forget_created_file();

    int descriptor = -1;
    /// A second descriptor of the file this writer created, held until the
    /// file is published or the writer goes: it keeps an unnamed file alive
    /// after the writer's own descriptor is closed, and a named one's
    /// identity from passing to another file.
    int created_file = -1;
    /// True while the file has no name yet.
    bool unnamed = false;
};

}  // namespace Vemo
