#pragma once
// Qt's texts as GoogleTest prints them in a failure.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '[';
    for (qsizetype i = 0; i < texts.size(); ++i)
        *out << (i ? ", " : "") << '"' << texts[i].toStdString() << '"';
    *out << ']';
}
