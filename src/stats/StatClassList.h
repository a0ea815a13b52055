#pragma once
/// @file The fixed list of method classes in registration order.

#include "stats/CustomStat.h"

#include <vector>

namespace lot {

/// Every method class, in the order the registry lists them. The order is
/// part of the program's behaviour: selectors, favourites texts and the
/// filter manager follow it.
const std::vector<const TStatClass *> &StatClassList();

} // namespace lot
