#include "stats/ConfigData.h"

namespace lot {

QList<int> ChangedPrefetchGroups(const TConfigData &before, const TConfigData &after) {
    QList<int> groups;
    if (before.MatrixCols != after.MatrixCols) groups << PrefetchGroupMatrix;
    if (before.ChannelSize != after.ChannelSize) groups << PrefetchGroupChannels;
    if (SegmentMapToText(before.MatrixSegments) != SegmentMapToText(after.MatrixSegments))
        groups << PrefetchGroupSegments;
    return groups;
}

} // namespace lot
