#pragma once
/// @file A synthetic archive for demonstrations and tests: uniformly random
/// draws on a twice-weekly calendar. It is not lottery history.

#include "core/Lottery.h"

#include <QDate>
#include <QtGlobal>

namespace lot {

/// First draw number of a demo archive; later draws follow in steps of two,
/// as the operator numbers them, so every number is positive.
inline constexpr int DemoFirstDrawNumber = 1001;

/// Makes `count` draws, oldest first (none when count <= 0). Each draw has six
/// distinct main numbers in random draw order and two supplementary numbers
/// distinct from the mains and from each other, all uniform over 1..45.
/// Dates fall on Wednesdays and Saturdays, the last one on or before
/// `lastDate` (dates stay empty when `lastDate` is invalid). Draw numbers are
/// DemoFirstDrawNumber, +2, +4, ... The result depends only on the
/// arguments: std::mt19937 with our own unbiased mapping to a range, never a
/// standard distribution (whose output differs between libraries).
TDrawsArray MakeDemoDraws(int count, quint32 seed, QDate lastDate);

} // namespace lot
