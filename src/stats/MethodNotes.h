#pragma once
/// @file What each method measures, in words for the player: the value, how
/// its key is formed and when a combination matches a selected value, per
/// method class; and one paragraph per method group. The description page
/// (MethodDescription.h) is built from these notes and the registry.

#include <QString>

namespace lot {

/// Notes of one method class, UTF-8. "%p" stands for the entry's parameter.
struct TMethodNotes {
    const char *ClassName;
    const char *Value;   ///< what the value of a draw is
    const char *Key;     ///< how the value's key is formed
    const char *Matches; ///< when a combination has a selected value
};

/// The notes of a method class by its C++ class name; nullptr when it has none.
const TMethodNotes *FindMethodNotes(const char *className);

/// A short paragraph about the methods of a group (0..12); empty for others.
QString GroupNotes(int group);

} // namespace lot
