// Every tag is read through libsndfile, which finds chunks wherever they lie
// in the file (also after the audio) and decodes cue points and loops.

#include "infile/wavetable_tags.hpp"

#include "formats/audio_chunks.hpp"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <string_view>
#include <vector>

namespace Vemo {

namespace {

/// Of a chunk only its start is read: the tags are short, and a damaged
/// header may claim any length.
constexpr unsigned chunk_head_bytes = 64;

/// The first bytes of the first chunk named `id`; empty when there is none.
std::vector<unsigned char> chunk_head(SNDFILE* sound_file, const char (&id)[5])
{
    SF_CHUNK_INFO info{};
    std::memcpy(info.id, id, 4);
    info.id_size = 4;
    SF_CHUNK_ITERATOR* const chunk = sf_get_chunk_iterator(sound_file, &info);
    if (!chunk || sf_get_chunk_size(chunk, &info) != SF_ERR_NO_ERROR)
        return {};
    std::vector<unsigned char> head(std::min(info.datalen, chunk_head_bytes));
    info.datalen = static_cast<unsigned>(head.size());
    info.data = head.data();
    if (head.empty() || sf_get_chunk_data(chunk, &info) != SF_ERR_NO_ERROR)
        return {};
    head.resize(std::min<std::size_t>(info.datalen, head.size()));
    return head;
}

std::uint64_t clm_tag(SNDFILE* sound_file, std::uint64_t)
{
    const std::vector<unsigned char> head = chunk_head(sound_file, "clm ");
    return clm_wave_size({reinterpret_cast<const char*>(head.data()), head.size()});
}

std::uint64_t srge_tag(SNDFILE* sound_file, std::uint64_t)
{
    const std::vector<unsigned char> head = chunk_head(sound_file, "srge");
    return srge_wave_size(head.data(), head.size());
}

/// Two or more cue points, in any order, at 0, L, 2L, ... that mark every
/// wave of the file, the last one (which may be partial) included: the
/// spacing L. A point's frame is its offset in the audio data. Markers that
/// only happen to be even, such as one at the start of a recording and one
/// somewhere in it, leave the rest of the file unmarked and size nothing.
std::uint64_t cue_wave_size(SNDFILE* sound_file, std::uint64_t file_frames)
{
    std::uint32_t count = 0;
    if (sf_command(sound_file, SFC_GET_CUE_COUNT, &count, sizeof count) != SF_TRUE || count < 2)
        return 0;
    // The points arrive laid out as SF_CUES_VAR(count); SF_CUES holds only 100.
    using One_cue = SF_CUES_VAR(1);
    constexpr std::size_t points_offset = offsetof(One_cue, cue_points);
    const std::size_t bytes = points_offset + std::size_t{count} * sizeof(SF_CUE_POINT);
    std::vector<std::uint32_t> block((bytes + sizeof(std::uint32_t) - 1) / sizeof(std::uint32_t));
    if (sf_command(sound_file, SFC_GET_CUE, block.data(), static_cast<int>(bytes)) != SF_TRUE)
        return 0;
    count = std::min(count, block[0]);
    std::vector<std::uint64_t> frames(count);
    const auto* points = reinterpret_cast<const unsigned char*>(block.data()) + points_offset;
    for (std::uint32_t i = 0; i < count; ++i) {
        SF_CUE_POINT point;
        std::memcpy(&point, points + i * sizeof point, sizeof point);
        frames[i] = point.sample_offset;
    }
    std::sort(frames.begin(), frames.end());
    if (count < 2 || frames[0] != 0)
        return 0;
    const std::uint64_t spacing = frames[1];
    for (std::uint32_t i = 2; i < count; ++i)
        if (frames[i] != i * spacing)
            return 0;
    const std::uint64_t last = frames[count - 1];
    if (last > file_frames || file_frames - last > spacing)
        return 0;
    return spacing;
}

/// A forward loop from frame 0 whose length (libsndfile's end is the frame
/// after the loop) divides the file; the loop of an ordinary looped sample
/// rarely does.
std::uint64_t loop_wave_size(SNDFILE* sound_file, std::uint64_t frames)
{
    SF_INSTRUMENT instrument{};
    if (sf_command(sound_file, SFC_GET_INSTRUMENT, &instrument, sizeof instrument) != SF_TRUE)
        return 0;
    const int count =
        std::clamp(instrument.loop_count, 0, static_cast<int>(std::size(instrument.loops)));
    for (int i = 0; i < count; ++i) {
        const auto& loop = instrument.loops[i];
        if (loop.mode == SF_LOOP_FORWARD && loop.start == 0 && loop.end > 0 &&
            frames % loop.end == 0)
            return loop.end;
    }
    return 0;
}

/// Tags that give waves shorter than this name no cycle: a loop from 0 to 0
/// or a `clm ` of 1 marks something else, or nothing at all.
constexpr std::uint64_t shortest_tagged_wave = 16;

using Tag_rule = std::uint64_t (*)(SNDFILE*, std::uint64_t);

const Tag_rule tag_rules[] = {clm_tag, srge_tag, cue_wave_size, loop_wave_size};

}  // namespace

std::uint64_t tagged_wave_size(SNDFILE* sound_file, std::uint64_t frames)
{
    for (const Tag_rule rule : tag_rules) {
        const std::uint64_t size = rule(sound_file, frames);
        if (size >= shortest_tagged_wave && size <= frames)
            return size;
    }
    return 0;
}

}  // namespace Vemo
