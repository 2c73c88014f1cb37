#include "library/songlists/HtmlLibraryPage.h"

namespace {
constexpr const char* kLineEnd = "\r\n";
} // namespace

std::string HtmlLibraryPage::Header() const {
    std::string page;
    page += kLineEnd;
    page += std::string("<HTML>") + kLineEnd;
    // The page is UTF-8 whatever a browser would guess.
    page += std::string("<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"></HEAD>") +
            kLineEnd;
    page += std::string("<FONT size = 4 color = #0000FF>") + kLineEnd + kLineEnd;
    page += std::string("<TABLE align = center>") + kLineEnd;
    page += std::string("<TR><TD><FONT size = 8 color = #FF0000>MY MUSIC COLLECTION</TD></TR>") + kLineEnd;
    page += std::string("</TABLE>") + kLineEnd;
    page += std::string("</p>") + kLineEnd + kLineEnd;
    page += std::string("<TABLE border = 2 spacing = 2 cellpadding = 2 align = center>") + kLineEnd;
    page += "<TR style = \"color:#0000FF\"><TH>#</TH>";
    if (m_layout.genre)
        page += "<TH>GENRE</TH>";
    page += "<TH>ARTIST</TH>";
    if (m_layout.album)
        page += "<TH>ALBUM</TH>";
    page += "<TH>SONG NAME</TH>";
    if (m_layout.type)
        page += "<TH>FILE TYPE</TH>";
    page += std::string("</TR>") + kLineEnd + kLineEnd;
    return page;
}

std::string HtmlLibraryPage::Block(int number, const AString& entry) const {
    const EntryLevels levels = SplitEntry(entry, m_layout);
    std::string block = std::string("<TR align = center>") + kLineEnd;
    block += "<TD>" + std::to_string(number) + "</TD>";
    if (m_layout.genre)
        block += Cell(levels.genre);
    block += Cell(levels.artist);
    if (m_layout.album)
        block += Cell(levels.album);
    block += Cell(levels.title);
    if (m_layout.type)
        block += Cell(levels.type);
    block += std::string(kLineEnd) + "</TR>" + kLineEnd;
    return block;
}

std::string HtmlLibraryPage::Footer() {
    return std::string(kLineEnd) + "</TABLE>" + kLineEnd + "</HTML>" + kLineEnd;
}

std::string HtmlLibraryPage::Cell(const AString& level) {
    return "<TD>" + (level.IsChar(u'*') ? std::string("-") : Escape(level)) + "</TD>";
}

std::string HtmlLibraryPage::Escape(const AString& text) {
    const std::string plain = text.ToUtf8();
    std::string escaped;
    escaped.reserve(plain.size());
    for (const char c : plain) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
