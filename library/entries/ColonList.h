#pragma once
// Colon lists: texts such as ":mp3:m4a:" that hold their items between colons (type lists, filter
// lists, preferred types, account lists).

#include "foundation/AString.h"

// Whether `item` is one whole item of the list, ignoring the case of A-Z. An empty item is never in a
// list, so an empty tag cannot match a stray "::" of a filter.
bool ColonListContains(const AString& list, const AString& item);

// Whether one of the list's items occurs in `text` (case-sensitive). The first item starts at index 1
// and an item counts only when a ':' follows it; empty items match nothing.
bool ColonListItemOccursIn(const AString& list, const AString& text);

// Whether the list holds nothing but colons and blanks: no item at all.
bool ColonListIsEmpty(const AString& list);
