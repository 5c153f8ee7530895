#pragma once

#include <string>
#include <string_view>

namespace Vemo {

/// What follows the last "." of the whole path, or the whole path when it
/// holds no "." (so a "." in a folder name counts).
std::string_view file_extension(const std::string& file_name);

/// The format that a file name's extension names for a file to read:
/// "audio" (wav, aif, aiff, and flac, ogg, mp3 and the other containers
/// libsndfile reads), "text", "ftable", "mw2", "ysc", "svg", "wt", or "none".
/// Extensions count in any letter case: people's files end in .WAV and
/// .Syx as well as .wav and .syx.
std::string format_from_extension(const std::string& file_name);

/// The same for a file to write, where only WAV and AIFF name "audio".
std::string output_format_from_extension(const std::string& file_name);

/// The libsndfile container (SF_FORMAT_WAV, SF_FORMAT_AIFF) that audio
/// output takes for a file of this name, or 0 when its extension names none.
int audio_container_from_extension(const std::string& file_name);

/// The extensions audio output accepts, as a sentence lists them:
/// ".wav, .aif or .aiff".
std::string audio_output_extensions();

}  // namespace Vemo
