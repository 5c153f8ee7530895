#pragma once

#include <cstddef>
#include <string>

namespace Vemo {

/// The life of one new output file, from its creation to its publication or
/// its end. The promise, kept here and nowhere else:
///
/// - Nothing is at the path until the file is complete. It is written
///   without a name in its folder and linked into place by `publish`; if the
///   program ends before that in any way, even killed, the file goes with it.
/// - Nothing is ever replaced. A path that is taken in any form (a file, a
///   folder, a link, even a dangling one) is refused when the file is created
///   and again when it is published: whatever appeared there meanwhile stays.
/// - Where the file system has no unnamed files (NFS, some FUSE systems), or
///   /proc is missing so an unnamed file could never be named, the file is
///   created at its path, exclusively. It is removed again when it is
///   discarded and when a signal from outside ends the program (SIGHUP,
///   SIGINT, SIGTERM, SIGXCPU and every other one that ends it by default:
///   see removal_on_signal.hpp), but only while the path still names this
///   same file, so a file that someone else put there stays. What is left
///   there is a program killed outright (SIGKILL, or by the kernel for
///   memory) or ended by a fault of its own (SIGSEGV, SIGABRT and the like,
///   left to their default action so that the crash report stays): then a
///   partial file remains at the path.
///
/// Results are the system's error numbers: 0 for success, EEXIST for a path
/// that is taken. One file at a time per program, since a signal's removal
/// is process-wide.
class New_file {
public:
    explicit New_file(std::string path);
    /// Discards the file unless it was published.
    ~New_file();
    New_file(const New_file&) = delete;
    New_file& operator=(const New_file&) = delete;

    /// Creates the file for writing: 0, or the reason it cannot be.
    int create();
    /// Whether the file was created and is neither published nor discarded.
    bool created() const { return identity >= 0; }
    /// Writes all `count` bytes; false when they do not all reach the file.
    bool write(const void* bytes, std::size_t count);
    /// Hands the descriptor that writes the file to a library that closes it
    /// itself; the file's life stays here.
    int hand_over();
    /// Closes the descriptor that writes the file, if it is still held here:
    /// false when the system says the last bytes were not stored (some file
    /// systems, NFS among them, report a full disk only here).
    bool close();
    /// Puts the complete, closed file at its path: 0, EEXIST when the path
    /// was taken meanwhile, or the reason it cannot be linked there.
    int publish();
    /// Lets go of a file that will not be published: it is gone afterwards.
    void discard();

private:
    /// How the file came to be, while it is `created`: it decides how the
    /// file is published and removed.
    enum class Kind { unnamed, named };

    int create_unnamed();
    int create_named();
    /// Keeps a second descriptor of the new file, created as `created_as`,
    /// as its identity; 0, or the error number after letting go of the file.
    int keep_identity(Kind created_as);
    /// Whether the path still names the file this object created.
    bool path_names_ours() const;
    /// Stops guarding the file and closes its identity.
    void forget();

    const std::string path;
    Kind kind = Kind::unnamed;
    /// The descriptor the file is written through, while it is held here.
    int writing = -1;
    /// A second descriptor of the same file, held until it is published or
    /// discarded: it keeps an unnamed file alive after `writing` is closed,
    /// and a named one's identity from passing to another file.
    int identity = -1;
};

}  // namespace Vemo
