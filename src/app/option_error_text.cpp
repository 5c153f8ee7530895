#include "app/option_error_text.hpp"

#include <boost/program_options/errors.hpp>

#include <algorithm>
#include <map>
#include <utility>

namespace Vemo {

namespace po = boost::program_options;

namespace {

/// Reads the parts of an option error that the library keeps to itself: the
/// words that go into the placeholders, and the phrases that stand in when a
/// word is missing.
struct Option_error_parts : po::error_with_option_name {
    static std::map<std::string, std::string> words(const po::error_with_option_name& error)
    {
        std::map<std::string, std::string> words = error.*(&Option_error_parts::m_substitutions);
        words["canonical_option"] = error.get_option_name();
        words["prefix"] = (error.*(&Option_error_parts::get_canonical_option_prefix))();
        return words;
    }

    static const std::map<std::string, std::pair<std::string, std::string>>&
    stand_ins(const po::error_with_option_name& error)
    {
        return error.*(&Option_error_parts::m_substitution_defaults);
    }
};

void replace_all(std::string& text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

/// The template with every %name% replaced by its word, each replacement
/// made once and never looked into again.
std::string fill_in(const std::string& text, const std::map<std::string, std::string>& words)
{
    std::string filled;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t close = text[at] == '%' ? text.find('%', at + 1) : std::string::npos;
        if (close != std::string::npos) {
            const auto word = words.find(text.substr(at + 1, close - at - 1));
            if (word != words.end()) {
                filled += word->second;
                at = close + 1;
                continue;
            }
        }
        filled += text[at++];
    }
    return filled;
}

}  // namespace

std::string option_error_text(const std::exception& error)
{
    const auto* named = dynamic_cast<const po::error_with_option_name*>(&error);
    if (!named)
        return error.what();
    const std::map<std::string, std::string> words = Option_error_parts::words(*named);
    if (std::none_of(words.begin(), words.end(),
                     [](const auto& word) { return word.second.find('%') != std::string::npos; }))
        return error.what();

    std::string text = named->m_error_template;
    for (const auto& [name, stand_in] : Option_error_parts::stand_ins(*named)) {
        const auto word = words.find(name);
        if (word == words.end() || word->second.empty())
            replace_all(text, stand_in.first, stand_in.second);
    }
    return fill_in(text, words);
}

}  // namespace Vemo
