#pragma once
// The texts of the HTML library list: a title, a heading row and one table row per song, its columns
// taken from the levels of the entry texts.

#include "foundation/AString.h"
#include "library/entries/EntryText.h"

#include <string>

class HtmlLibraryPage {
public:
    explicit HtmlLibraryPage(const EntryLayout& layout) : m_layout(layout) {}

    std::string Header() const;
    // The row of the song numbered `number` (from 1).
    std::string Block(int number, const AString& entry) const;
    static std::string Footer();
    // Song texts come from tags and from other computers: they are escaped so that they show as they
    // are and cannot add markup to the page.
    static std::string Escape(const AString& text);

private:
    static std::string Cell(const AString& level);

    EntryLayout m_layout;
};
