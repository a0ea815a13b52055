#include "stats/methods/ChannelMethods.h"

#include "core/Format.h"
#include "stats/StatList.h"

#include <algorithm>

namespace lot {

// ---- the layout -------------------------------------------------------------------------------

TChannelLayout::TChannelLayout(int size) {
    if (size < 1 || size > NumberCount) return;
    m_size = size;
    m_count = (NumberCount + size - 1) / size;
    for (int n = 1; n <= NumberCount; ++n)
        m_of[size_t(n)] = uint8_t((n + size - 1) / size);
}

TChannelLayout TChannelLayout::Of(const TStatList &list) {
    return TChannelLayout(list.ChannelSize());
}

QString TChannelLayout::Text(int channel) const {
    return Format(QStringLiteral("%.2d [%s-%s]"),
                  {channel, QString::number(m_size * (channel - 1) + 1), QString::number(channel * m_size)});
}

TCustomChannelsStat::TCustomChannelsStat(const TStatList &list, int param)
    : TCustomStat(list, param), m_channels(TChannelLayout::Of(list)) {}

TCustomChannelsGraphStat::TCustomChannelsGraphStat(const TStatList &list, int param)
    : TCustomGraphStat(list, param), m_channels(TChannelLayout::Of(list)) {}

QString ChannelTupleCaption(int size, bool windows) {
    return Format(windows ? QStringLiteral("Сочетания из %0:d каналов по соседним числам")
                          : QStringLiteral("Сочетания из %0:d каналов по всем числам тиража"),
                  {size});
}

// ---- the methods ------------------------------------------------------------------------------

int TstChannels::TextToValue(const QString &s) const {
    const qsizetype space = s.indexOf(QLatin1Char(' '));
    return TKeyedStat::TextToValue(space < 0 ? s : s.left(space));
}

void TstChannels::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, m_channels.Count());
}

QString TstChanValues::ValueToText(const TStatDraw &v) const {
    return Format(QStringLiteral("%0:s x %1:d"), {m_channels.Text(v.Key.W(1)), v.Key.W(2)});
}

void TstChanValues::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    const int most = std::min(m_channels.Size(), CombSize);
    for (int ch = 1; ch <= m_channels.Count(); ++ch)
        for (int count = 0; count <= most; ++count)
            AddListed(values, TStatKey::FromWords(uint16_t(ch), uint16_t(count)));
}

void TstChanCount::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, std::min(m_channels.Size(), CombSize));
}

TParamRange TstChnValCnt::GetParamRange(const TStatList &list) {
    return {1, TChannelLayout::Of(list).Count()};
}

void TstChnValCnt::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    TKeyedStat::EnumAllValues(lastIdx, values);
    AddListedWords(values, 1, m_channels.Size());
}

} // namespace lot
