#include "library/entries/FileNameRule.h"

#include "support/AStringPrinting.h"

#include <gtest/gtest.h>

TEST(FileNameRuleTest, ReplacesExactlyTheForbiddenCharacters) {
    const AString forbidden(u"\"*/:<>?\\|\u00C0");
    EXPECT_EQ(SanitizedFileName(forbidden, u'_', false), AString("__________"));
    // Neighbours of the forbidden codes, the other accented capitals and text above 255 stay.
    const AString kept(u"!#.;=@[]{}~\u00C1\u00BF\u0100\u20AC\u30C6");
    EXPECT_EQ(SanitizedFileName(kept, u'_', false), kept);
}

TEST(FileNameRuleTest, EdgesReplaceOnlyLeadingAndTrailingDots) {
    struct Case {
        const char* text;
        char16_t replacement;
        bool edges;
        const char* expected;
    };
    const Case cases[] = {
        {"..a.b..", u'_', true, "_.a.b._"},
        {"..a.b..", u'_', false, "..a.b.."},
        {".", u'_', true, "_"},
        {"", u'_', true, ""},
        {".a?b", u'-', true, "-a-b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SanitizedFileName(AString(c.text), c.replacement, c.edges), AString(c.expected)) << c.text;
}

TEST(FileNameRuleTest, SanitizeChangesInPlaceAndKeepsTheLength) {
    AString text("AC/DC: Live?");
    SanitizeFileName(text, u'_', true);
    EXPECT_EQ(text, AString("AC_DC_ Live_"));
}
