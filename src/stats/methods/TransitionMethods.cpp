#include "stats/methods/TransitionMethods.h"

#include "core/Format.h"

namespace lot {

namespace detail {

namespace {
const char *KindPrefix(TItemView::TKind kind) {
    switch (kind) {
    case TItemView::TKind::Numbers:
        return "SD";
    case TItemView::TKind::Channels:
        return "SC";
    case TItemView::TKind::Segments:
        return "SS";
    }
    return "SD";
}

TStatKey KeyWithWord(int word, int value) {
    TStatKey k;
    k.SetW(word, uint16_t(value));
    return k;
}
} // namespace

QString ChainCode(TItemView::TKind kind, int depth, TChainShape shape) {
    const QString prefix = QString::fromLatin1(KindPrefix(kind));
    switch (shape) {
    case TChainShape::All:
        return prefix + QStringLiteral("V2");
    case TChainShape::Pos:
        return prefix + QStringLiteral("P%1").arg(depth);
    case TChainShape::At:
        return prefix + (depth == 2 ? QStringLiteral("N%d") : QStringLiteral("M%d"));
    case TChainShape::Count:
        return prefix + QStringLiteral("%1C%d").arg(depth);
    }
    return prefix;
}

QString ChainCaption(TItemView::TKind kind, int depth, TChainShape shape) {
    QString format;
    if (shape == TChainShape::Count) {
        format = kind == TItemView::TKind::Segments
                     ? QStringLiteral("Переходы кол-ва чисел в %%d сегменте между %0:d тиражами")
                     : QStringLiteral("Переходы кол-ва чисел в %%d канале между %0:d тиражами");
    } else {
        const QString items = kind == TItemView::TKind::Numbers    ? QStringLiteral("чисел")
                              : kind == TItemView::TKind::Channels ? QStringLiteral("каналов")
                                                                   : QStringLiteral("сегментов");
        const QString tail = shape == TChainShape::All   ? QStringLiteral("без учета позиции")
                             : shape == TChainShape::Pos ? QStringLiteral("с учетом позиции")
                                                         : QStringLiteral("в %%d позиции");
        format = QStringLiteral("Переходы ") + items + QStringLiteral(" между %0:d тиражами ") + tail;
    }
    // Formatted with the number of draws now; the positional and count
    // members keep the parameter's %d for the entry.
    return Format(format, {depth});
}

QString ChainHelpTopic(TItemView::TKind kind, int depth, TChainShape shape) {
    const QString prefix = QString::fromLatin1(KindPrefix(kind));
    if (shape == TChainShape::At) return prefix + (depth == 2 ? QStringLiteral("Nx") : QStringLiteral("Mx"));
    if (shape == TChainShape::Count) return prefix + QStringLiteral("%1Cx").arg(depth);
    return {};
}

std::array<uint8_t, 256> ItemHits(const TItemView &items, const TStatDrawArray &selected, TKeySearch search,
                                  int word) {
    const TSelectedKeys keys(selected, search);
    std::array<uint8_t, 256> hits{};
    for (int b = 0; b < 256; ++b)
        if (const int y = items.Of(b); y != 0) hits[size_t(b)] = uint8_t(keys.Bit(KeyWithWord(word, y)));
    return hits;
}

TNumberSetCountMatcher::THits CountHits(const TStatDrawArray &selected, TKeySearch search, int word,
                                        bool active) {
    TNumberSetCountMatcher::THits hits{};
    if (!active) return hits;
    const TSelectedKeys keys(selected, search);
    for (int n = 0; n <= CombSize; ++n)
        hits[size_t(n)] = uint8_t(keys.Bit(KeyWithWord(word, n)));
    return hits;
}

} // namespace detail

TCustomChainStat::TCustomChainStat(const TStatList &list, int param, TItemView items)
    : TCustomStat(list, param), m_items(std::move(items)) {}

QString TCustomChainStat::ChainText(const TStatDraw &v, int words, bool counts) const {
    const auto word = [&](int i) { return counts ? QString::number(v.Key.W(i)) : m_items.Text(v.Key.W(i)); };
    if (words == 3) return Format(QStringLiteral("%0:s-%1:s -> %2:s"), {word(1), word(2), word(3)});
    return Format(QStringLiteral("%0:s -> %1:s"), {word(1), word(2)});
}

bool TCustomChainChannels2Inside::KeyMatches(const TStatKey &key, int r, int c, int insideKind) const {
    const int w1 = key.W(1);
    const int w2 = key.W(2);
    if (w1 != r) return false;
    if (insideKind == 3 || (w1 != 0 && w2 == 0)) {
        const int ch = ItemOf(r);
        return ch != 0 && ItemOf(c) == ch;
    }
    return w2 == c;
}

bool TCustomChainChannels2Inside::CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx,
                                              bool, bool) {
    const TDrawRec ref = ReadDraw(refIdx, false);
    const int kind = InsideKindOf();
    for (int i = 0; i < CombSize; ++i) {
        const int r = ref.Numbers[i];
        if (r == 0) continue;
        for (int j = 0; j < CombSize; ++j)
            for (const TStatDraw &s : selected)
                if (KeyMatches(s.Key, r, c[j], kind)) return true;
    }
    return false;
}

std::unique_ptr<TCombMatcher> TCustomChainChannels2Inside::MakeMatcher(const TStatDrawArray &selected,
                                                                       int refIdx, bool, bool) {
    // Whether a number matches depends on it alone: the byte values that
    // match some number of the reference draw, read as pairs.
    const TDrawRec ref = ReadDraw(refIdx, false);
    const int kind = InsideKindOf();
    std::array<uint8_t, 256> hits{};
    for (int i = 0; i < CombSize; ++i) {
        const int r = ref.Numbers[i];
        if (r == 0) continue;
        for (const TStatDraw &s : selected) {
            if (s.Key.W(1) != r) continue;
            if (kind == 3 || s.Key.W(2) == 0) {
                const int ch = ItemOf(r);
                for (int b = 0; b < 256; ++b)
                    if (ch != 0 && ItemOf(b) == ch) hits[size_t(b)] = 1;
            } else if (s.Key.W(2) < 256) {
                hits[size_t(s.Key.W(2))] = 1;
            }
        }
    }
    return std::make_unique<TAnyNumberMatcher>(hits);
}

} // namespace lot
