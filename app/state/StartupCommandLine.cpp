#include "app/state/StartupCommandLine.h"

namespace {

const QString kRouterConfigExtension = QStringLiteral(".txfig");
const QString kAutoRunSwitch = QStringLiteral("-ar");
const QString kAboutSwitch = QStringLiteral("__d");

} // namespace

StartupCommandLine StartupCommandLine::Parse(const QStringList& arguments) {
    StartupCommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!line.routerConfig && arguments[i].endsWith(kRouterConfigExtension, Qt::CaseInsensitive))
            line.routerConfig = arguments[i];
        if (arguments[i].contains(kAboutSwitch))
            line.showAbout = true;
    }
    if (arguments.size() >= 3 && arguments[1].compare(kAutoRunSwitch, Qt::CaseInsensitive) == 0) {
        line.autoRun = true;
        line.autoRunMask = ParseNumber(arguments[2]);
    }
    return line;
}

uint32_t StartupCommandLine::ParseNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    uint32_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = value * 10 + static_cast<uint32_t>(text[i].unicode() - u'0');
    return negative ? 0u - value : value;
}
