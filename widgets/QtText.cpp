#include "widgets/QtText.h"

#include <QFile>
#include <string_view>

QString ToQString(const AString& text) {
    return QString::fromUtf16(text.GetString(), text.GetLength());
}

AString ToAString(const QString& text) {
    return AString(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()));
}

AString PathToAString(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return AString::FromSystem8Bit(std::string_view(bytes.constData(), bytes.size()));
}
