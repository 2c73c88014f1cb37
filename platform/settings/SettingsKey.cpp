#include "platform/settings/SettingsKey.h"

#include <QByteArray>
#include <QSettings>
#include <array>

namespace nativesettings {
namespace {

// Each type has a group of its own in the file, so that reading never has to guess a type from text.
const QString kDwordGroup = QStringLiteral("Dword");
const QString kStringGroup = QStringLiteral("String");
const std::array<std::pair<const QString*, ValueType>, 2> kGroups = {
    {{&kDwordGroup, ValueType::Dword}, {&kStringGroup, ValueType::String}}};
constexpr qsizetype kDwordBytes = 4;

const QString& GroupOf(ValueType type) {
    return type == ValueType::Dword ? kDwordGroup : kStringGroup;
}

QStringList NamesIn(QSettings& settings, const QString& group) {
    settings.beginGroup(group);
    QStringList names = settings.childKeys();
    settings.endGroup();
    return names;
}

void AppendLittleEndian16(QByteArray& data, char16_t unit) {
    data.append(static_cast<char>(unit & 0xFF));
    data.append(static_cast<char>(unit >> 8));
}

// A little-endian 32-bit word whose first bytes are replaced by `data` (at most four).
uint32_t OverlayBytes(const QByteArray& data, uint32_t word) {
    for (qsizetype i = 0; i < data.size(); ++i) {
        const unsigned shift = 8u * static_cast<unsigned>(i);
        word = (word & ~(0xFFu << shift)) | (static_cast<uint32_t>(static_cast<uint8_t>(data[i])) << shift);
    }
    return word;
}

} // namespace

struct SettingsKey::Stored {
    ValueType type = ValueType::Dword;
    uint32_t dword = 0;
    QString text;

    // The bytes the registry holds for the value: a DWORD little-endian, a string in UTF-16 with its NUL.
    QByteArray Data() const {
        QByteArray data;
        if (type == ValueType::Dword) {
            AppendLittleEndian16(data, static_cast<char16_t>(dword & 0xFFFF));
            AppendLittleEndian16(data, static_cast<char16_t>(dword >> 16));
            return data;
        }
        for (const QChar unit : text)
            AppendLittleEndian16(data, unit.unicode());
        AppendLittleEndian16(data, 0);
        return data;
    }
};

SettingsKey::SettingsKey()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Quelloran"), QStringLiteral("Orvantis"))) {}

SettingsKey::SettingsKey(const QString& filePath)
    : m_settings(std::make_unique<QSettings>(filePath, QSettings::IniFormat)) {}

SettingsKey::~SettingsKey() = default;

std::optional<ValueType> SettingsKey::TypeOf(const QString& name) const {
    const std::optional<Stored> stored = Find(name);
    return stored ? std::optional(stored->type) : std::nullopt;
}

QStringList SettingsKey::ValueNames() const {
    QStringList names;
    for (const auto& [group, type] : kGroups)
        names += NamesIn(*m_settings, *group);
    return names;
}

std::optional<uint32_t> SettingsKey::ReadDword(const QString& name) const {
    const std::optional<Stored> stored = Find(name);
    if (!stored || stored->type != ValueType::Dword)
        return std::nullopt;
    return stored->dword;
}

std::optional<QString> SettingsKey::ReadString(const QString& name, qsizetype bufferChars) const {
    const std::optional<Stored> stored = Find(name);
    if (!stored || stored->type != ValueType::String || stored->text.size() >= bufferChars)
        return std::nullopt;
    return stored->text;
}

bool SettingsKey::ReadIntoDword(const QString& name, uint32_t& member) const {
    const std::optional<Stored> stored = Find(name);
    if (!stored || stored->Data().size() > kDwordBytes)
        return false;
    member = OverlayBytes(stored->Data(), member);
    return true;
}

std::optional<uint32_t> SettingsKey::ReadFourBytes(const QString& name) const {
    const std::optional<Stored> stored = Find(name);
    if (!stored || stored->Data().size() != kDwordBytes)
        return std::nullopt;
    return OverlayBytes(stored->Data(), 0);
}

void SettingsKey::WriteDword(const QString& name, uint32_t value) {
    m_settings->setValue(GroupOf(ValueType::Dword) + u'/' + TakeSpelling(name).value_or(name),
                         QString::number(value));
}

void SettingsKey::WriteString(const QString& name, const QString& value) {
    m_settings->setValue(GroupOf(ValueType::String) + u'/' + TakeSpelling(name).value_or(name), value);
}

bool SettingsKey::Remove(const QString& name) {
    return TakeSpelling(name).has_value();
}

bool SettingsKey::Flush() {
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

std::optional<SettingsKey::Stored> SettingsKey::Find(const QString& name) const {
    for (const auto& [group, type] : kGroups) {
        for (const QString& stored : NamesIn(*m_settings, *group)) {
            if (stored.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            const QVariant value = m_settings->value(*group + u'/' + stored);
            if (value.typeId() != QMetaType::QString)
                continue;
            if (type == ValueType::String)
                return Stored{type, 0, value.toString()};
            bool isNumber = false;
            const uint32_t number = value.toString().toUInt(&isNumber);
            if (isNumber)
                return Stored{type, number, {}};
        }
    }
    return std::nullopt;
}

std::optional<QString> SettingsKey::TakeSpelling(const QString& name) {
    std::optional<QString> spelling;
    for (const auto& [group, type] : kGroups) {
        for (const QString& stored : NamesIn(*m_settings, *group)) {
            if (stored.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            if (!spelling)
                spelling = stored;
            m_settings->remove(*group + u'/' + stored);
        }
    }
    return spelling;
}

} // namespace nativesettings
