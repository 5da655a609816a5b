#pragma once
// The five record orderings. Each leaves exactly the arrangement of the program's exchange
// procedure (core/exchange_order.h): where records equal under every key end up is part
// of what the user sees, and of what the data file holds.

#include <string>

#include "core/anniversary.h"

namespace jubilora {

// Each returns the new position of the record that was at `selected` (unchanged when it
// names no record).
int SortByDate(TAnniversaryList& list, int selected);
int SortByPriority(TAnniversaryList& list, int selected);
int SortByDescription(TAnniversaryList& list, int selected);
int SortByType(TAnniversaryList& list, int selected);
int SortByReminder(TAnniversaryList& list, int selected);

// The description as the orderings compare it: only "a" to "z" are upper-cased.
std::string UpperDescription(const TAnniversary& record);

enum class SortOrder { Date = 0, Type = 1, Description = 2, Priority = 3, Reminder = 4 };
int SortBy(SortOrder order, TAnniversaryList& list, int selected);

}  // namespace jubilora
