#include "library/itunes/ReadTunesPrefs.h"

#include "foundation/AFile.h"
#include "foundation/AppDataFolder.h"
#include "foundation/ErrorCodes.h"

namespace {

constexpr int kPieceLength = 12;
constexpr uint64_t kAccountOffset = 6054;
constexpr uint32_t kDigitsPerCharacter = 4;

int SkipToPreferences(AFile& file) {
    AString piece;
    do {
        if (const int result = piece.Read(file, AString::Form::NarrowLine, kPieceLength))
            return result;
    } while (piece.CompareNoCase("Preferences:") != 0);
    return 0;
}

int SkipPastEquals(AFile& file) {
    char byte = 0;
    do {
        if (const int result = file.Read(&byte, 1))
            return result;
    } while (byte != '=');
    return 0;
}

// Four hexadecimal digits give one character code; false for anything else.
bool ParseCharacterCode(const char (&digits)[kDigitsPerCharacter], char16_t& code) {
    uint32_t value = 0;
    for (const char digit : digits) {
        int nibble = -1;
        if (digit >= '0' && digit <= '9')
            nibble = digit - '0';
        else if (digit >= 'a' && digit <= 'f')
            nibble = digit - 'a' + 10;
        else if (digit >= 'A' && digit <= 'F')
            nibble = digit - 'A' + 10;
        if (nibble < 0)
            return false;
        value = value * 16 + static_cast<uint32_t>(nibble);
    }
    code = static_cast<char16_t>(value);
    return true;
}

// Characters up to a code of 0; a group that is no hexadecimal number ends the text as well.
int ReadAccountCharacters(AFile& file, AString& text) {
    for (;;) {
        char digits[kDigitsPerCharacter];
        if (const int result = file.Read(digits, kDigitsPerCharacter))
            return result;
        char16_t code = 0;
        if (!ParseCharacterCode(digits, code) || code == 0)
            return 0;
        text += code;
    }
}

} // namespace

int ReadTunesPrefsFile(const AString& path, AString& name) {
    AFile file;
    if (const int result = file.Open(path, AFile::kModeRead, false))
        return result;
    if (const int result = SkipToPreferences(file))
        return result;
    if (const int result = SkipPastEquals(file))
        return result;
    if (const int result = file.Seek(file.GetPosition() + kAccountOffset))
        return result;
    AString account;
    if (const int result = ReadAccountCharacters(file, account))
        return result;
    if (account.IsEmpty())
        return kErrorNoAccountName;
    name = account;
    return 0;
}

int ReadTunesPrefs(AString& name) {
    AString path;
    if (!GetAppDataFolder(path))
        return kErrorNoAppDataFolder;
    path.AppendPath("Apple Computer");
    path.AppendPath("iTunes");
    path.AppendPath("iTunes.pref");
    return ReadTunesPrefsFile(path, name);
}
