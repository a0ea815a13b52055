#include "stats/methods/CombValueMethods.h"

#include "core/Format.h"

namespace lot {

QString NumberTupleCaption(int size, bool windows) {
    return Format(windows ? QStringLiteral("Сочетания из %0:d соседних чисел тиража")
                          : QStringLiteral("Сочетания из %0:d чисел по всем числам тиража"),
                  {size});
}

} // namespace lot
