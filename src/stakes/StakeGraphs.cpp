#include "stakes/StakeGraphs.h"

#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Money.h"

#include <algorithm>

namespace lot {

void AddProfitDraw(TProfitDrawArray &draws, int drawNumber, int64_t amount) {
    // Stakes come grouped by draw: the last entry is nearly always the one.
    if (!draws.empty() && draws.back().DrawNumber == drawNumber) {
        draws.back().Amount += amount;
        return;
    }
    for (TProfitDraw &d : draws)
        if (d.DrawNumber == drawNumber) {
            d.Amount += amount;
            return;
        }
    TProfitDraw d;
    d.DrawNumber = drawNumber;
    d.Amount = amount;
    draws.push_back(d);
}

QString GraphNoDataText() {
    return QStringLiteral(
        "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более одного тиража!");
}

TStakeGraph ProfitDrawsGraph(const TProfitDrawArray &draws) {
    if (draws.empty()) throw EError(GraphNoDataText());
    TStakeGraph g;
    g.Caption = QStringLiteral("График суммарного профита ставок по тиражам");
    long double total = 0;
    for (const TProfitDraw &d : draws)
        total += d.Amount;
    const double mean = double(total / draws.size() / TMoney::Scale);
    long double running = 0;
    for (const TProfitDraw &d : draws) {
        running += d.Amount;
        g.Points.push_back({QStringLiteral("Суммарный профит ставок по тиражу"), d.DrawNumber,
                            double(d.Amount) / TMoney::Scale, true, true, 0x008000});
        g.Points.push_back({QStringLiteral("Среднее значение"), d.DrawNumber, mean, false, false, 0x0000FF});
        g.Points.push_back({QStringLiteral("Накопленное значение"), d.DrawNumber,
                            double(running / TMoney::Scale), true, true, 0xFF0000});
    }
    return g;
}

TStakeGraph RatingsOverlapGraph(const TRatingsArray &rows) {
    TStakeGraph g;
    g.Caption = QStringLiteral("График количества совпадений для выделенных строк рейтинга");
    int m = 0;
    for (const TRatingRec &r : rows)
        m = std::max(m, r.Stakes);
    const auto &p = OverlapProbabilities();
    for (int i = 0; i <= CombSize; ++i)
        g.Points.push_back(
            {QStringLiteral("Нормальные значения"), i, double(p[size_t(i)] * m), true, false, 0x808080});
    for (const TRatingRec &r : rows)
        for (int i = 0; i <= CombSize; ++i)
            g.Points.push_back({RatingComment(r), i, double(r.Histogram[i]), true, false, 0});
    return g;
}

} // namespace lot
