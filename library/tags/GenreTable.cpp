#include "library/tags/GenreTable.h"

#include <limits>
#include <optional>

namespace {

// The ID3v1 list (0 to 79) with the common extensions (80 to 125).
constexpr const char* kGenreNames[GenreTable::kCount] = {"Blues",
                                                         "Classic Rock",
                                                         "Country",
                                                         "Dance",
                                                         "Disco",
                                                         "Funk",
                                                         "Grunge",
                                                         "Hip-Hop",
                                                         "Jazz",
                                                         "Metal",
                                                         "New Age",
                                                         "Oldies",
                                                         "Other",
                                                         "Pop",
                                                         "R&B",
                                                         "Rap",
                                                         "Reggae",
                                                         "Rock",
                                                         "Techno",
                                                         "Industrial",
                                                         "Alternative",
                                                         "Ska",
                                                         "Death Metal",
                                                         "Pranks",
                                                         "Soundtrack",
                                                         "Euro-Techno",
                                                         "Ambient",
                                                         "Trip-Hop",
                                                         "Vocal",
                                                         "Jazz+Funk",
                                                         "Fusion",
                                                         "Trance",
                                                         "Classical",
                                                         "Instrumental",
                                                         "Acid",
                                                         "House",
                                                         "Game",
                                                         "Sound Clip",
                                                         "Gospel",
                                                         "Noise",
                                                         "AlternRock",
                                                         "Bass",
                                                         "Soul",
                                                         "Punk",
                                                         "Space",
                                                         "Meditative",
                                                         "Instrumental Pop",
                                                         "Instrumental Rock",
                                                         "Ethnic",
                                                         "Gothic",
                                                         "Darkwave",
                                                         "Techno-Industrial",
                                                         "Electronic",
                                                         "Pop-Folk",
                                                         "Eurodance",
                                                         "Dream",
                                                         "Southern Rock",
                                                         "Comedy",
                                                         "Cult",
                                                         "Gangsta",
                                                         "Top 40",
                                                         "Christian Rap",
                                                         "Pop/Funk",
                                                         "Jungle",
                                                         "Native American",
                                                         "Cabaret",
                                                         "New Wave",
                                                         "Psychadelic",
                                                         "Rave",
                                                         "Showtunes",
                                                         "Trailer",
                                                         "Lo-Fi",
                                                         "Tribal",
                                                         "Acid Punk",
                                                         "Acid Jazz",
                                                         "Polka",
                                                         "Retro",
                                                         "Musical",
                                                         "Rock & Roll",
                                                         "Hard Rock",
                                                         "Folk",
                                                         "Folk-Rock",
                                                         "National Folk",
                                                         "Swing",
                                                         "Fast Fusion",
                                                         "Bebob",
                                                         "Latin",
                                                         "Revival",
                                                         "Celtic",
                                                         "Bluegrass",
                                                         "Avantgarde",
                                                         "Gothic Rock",
                                                         "Progressive Rock",
                                                         "Psychedelic Rock",
                                                         "Symphonic Rock",
                                                         "Slow Rock",
                                                         "Big Band",
                                                         "Chorus",
                                                         "Easy Listening",
                                                         "Acoustic",
                                                         "Humour",
                                                         "Speech",
                                                         "Chanson",
                                                         "Opera",
                                                         "Chamber Music",
                                                         "Sonata",
                                                         "Symphony",
                                                         "Booty Bass",
                                                         "Primus",
                                                         "Porn Groove",
                                                         "Satire",
                                                         "Slow Jam",
                                                         "Club",
                                                         "Tango",
                                                         "Samba",
                                                         "Folklore",
                                                         "Ballad",
                                                         "Power Ballad",
                                                         "Rhythmic Soul",
                                                         "Freestyle",
                                                         "Duet",
                                                         "Punk Rock",
                                                         "Drum Solo",
                                                         "A Capella",
                                                         "Euro-House",
                                                         "Dance Hall"};

constexpr uint64_t kSaturated = std::numeric_limits<uint64_t>::max();
// Above this a number plus any offset names no genre.
constexpr uint64_t kLargestShiftable = std::numeric_limits<int32_t>::max();

// Digits beyond what 64 bits hold saturate, so no length of number can wrap onto a listed genre.
uint64_t AppendDigit(uint64_t number, char16_t digit) {
    const uint64_t value = static_cast<uint64_t>(digit - u'0');
    if (number > (kSaturated - value) / 10)
        return kSaturated;
    return number * 10 + value;
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The number of a text made only of digits, or nothing.
std::optional<uint64_t> AllDigitsNumber(const std::u16string& text) {
    if (text.empty())
        return std::nullopt;
    uint64_t number = 0;
    for (const char16_t c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        number = AppendDigit(number, c);
    }
    return number;
}

} // namespace

AString GenreTable::Name(uint64_t number) {
    return number < kCount ? AString(kGenreNames[number]) : AString();
}

AString GenreTable::ResolveGenreV2(const AString& text) {
    if (text.IsEmpty() || text.GetAt(0) != u'(')
        return text;
    uint64_t number = 0;
    for (const char16_t c : text.GetCString().substr(1)) {
        if (IsDigit(c))
            number = AppendDigit(number, c);
    }
    return Name(number);
}

AString GenreTable::ResolveGenreNumber(const AString& text, int offset) {
    std::u16string inner = text.GetCString();
    if (!inner.empty() && inner.front() == u'(') {
        inner.erase(0, 1);
        const size_t close = inner.find(u')');
        if (close != std::u16string::npos && close + 1 == inner.size())
            inner.pop_back();
    }
    const std::optional<uint64_t> number = AllDigitsNumber(inner);
    if (!number)
        return text;
    if (*number > kLargestShiftable)
        return AString();
    const int64_t shifted = static_cast<int64_t>(*number) + offset;
    return shifted < 0 ? AString() : Name(static_cast<uint64_t>(shifted));
}
