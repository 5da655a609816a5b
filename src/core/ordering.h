#pragma once
// The five record orderings, run as the program's exchange procedure: the arrangement it
// leaves among records equal under every key is part of what the user sees.

#include "core/anniversary.h"

namespace jubilora {

int CompareDate(const TAnniversary& a, const TAnniversary& b);
int ComparePriority(const TAnniversary& a, const TAnniversary& b);
int CompareType(const TAnniversary& a, const TAnniversary& b);
int CompareDescription(const TAnniversary& a, const TAnniversary& b);
int CompareReminder(const TAnniversary& a, const TAnniversary& b);

// Each returns the new position of the record that was at `selected` (unchanged when it
// names no record).
int SortByDate(TAnniversaryList& list, int selected);
int SortByPriority(TAnniversaryList& list, int selected);
int SortByDescription(TAnniversaryList& list, int selected);
int SortByType(TAnniversaryList& list, int selected);
int SortByReminder(TAnniversaryList& list, int selected);

enum class SortOrder { Date = 0, Type = 1, Description = 2, Priority = 3, Reminder = 4 };
int SortBy(SortOrder order, TAnniversaryList& list, int selected);

}  // namespace jubilora
