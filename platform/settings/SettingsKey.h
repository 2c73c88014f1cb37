#pragma once
// The settings key that both programs share (the registry key HKCU\Software\Quelloran\Orvantis on
// Windows): named values, each a 32-bit number (DWORD) or a text (string), kept apart as the registry
// keeps them, so that a value written as one type never reads as the other. Names compare without
// regard to letter case; a value keeps the spelling its name had when it was made. One object is one
// opening of the key: it sees the values as they were when it was made, and its own writes; the other
// program sees those writes after Flush or the object's end. Values that are malformed count as
// missing. Use an object on one thread at a time.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

class QSettings;

namespace nativesettings {

enum class ValueType { Dword, String };

class SettingsKey {
public:
    // The user's key, QSettings("Quelloran", "Orvantis").
    SettingsKey();
    // A key kept in an INI file of its own.
    explicit SettingsKey(const QString& filePath);
    ~SettingsKey();
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    std::optional<ValueType> TypeOf(const QString& name) const;
    // Every value's name, as it is spelled in the key.
    QStringList ValueNames() const;

    // A DWORD value; a string value counts as missing.
    std::optional<uint32_t> ReadDword(const QString& name) const;
    // A string value that fits a caller's buffer of `bufferChars` characters with its terminating NUL;
    // a DWORD value, or a longer string, counts as missing.
    std::optional<QString> ReadString(const QString& name,
                                      qsizetype bufferChars = std::numeric_limits<qsizetype>::max()) const;
    // A registry query into a 32-bit member, whatever the value's type: the value's data (a DWORD's
    // four bytes, or a string's UTF-16 units and its NUL) takes the place of the member's first bytes
    // when it fits in four bytes; else the member is left as it was and the result is false.
    bool ReadIntoDword(const QString& name, uint32_t& member) const;
    // The value whose data is exactly four bytes long, whatever its type: a DWORD, or a string of one
    // UTF-16 unit (with its NUL).
    std::optional<uint32_t> ReadFourBytes(const QString& name) const;

    void WriteDword(const QString& name, uint32_t value);
    void WriteString(const QString& name, const QString& value);
    // False when there was no such value.
    bool Remove(const QString& name);
    // Puts the changes on the disk; false when they could not be written.
    bool Flush();

private:
    struct Stored;
    std::optional<Stored> Find(const QString& name) const;
    // Removes every spelling of the name and gives back the first, which a new value keeps.
    std::optional<QString> TakeSpelling(const QString& name);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace nativesettings
