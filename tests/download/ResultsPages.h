#pragma once
// Results pages as the operator's site embeds them: an HTML page with the
// past draws as JSON text, newest first.

#include <array>
#include <QString>
#include <QStringList>
#include <vector>

namespace lot::test {

struct TPageDraw {
    int Number;
    const char *Date; ///< "2027-01-09"
    std::array<int, 6> Mains;
    std::array<int, 2> Extras;
};

inline QString DrawJson(const TPageDraw &d) {
    QStringList mains, extras;
    for (int n : d.Mains)
        mains << QStringLiteral("{\"number\":%1,\"isBonus\":false}").arg(n);
    for (int n : d.Extras)
        extras << QStringLiteral("{\"number\":%1,\"isBonus\":true}").arg(n);
    return QStringLiteral("{\"drawNo\":%1,\"drawDate\":\"%2T00:00:00+11:00\",\"numberSets\":["
                          "{\"name\":\"Main numbers\",\"numbers\":[%3]},"
                          "{\"name\":\"Supplementary\",\"numbers\":[%4]}],"
                          "\"divisions\":[{\"division\":1,\"prize\":1000000}]}")
        .arg(d.Number)
        .arg(QLatin1String(d.Date))
        .arg(mains.join(QLatin1Char(',')))
        .arg(extras.join(QLatin1Char(',')));
}

/// A page with the draws, newest first, as the site lists them.
inline QString ResultsPage(const std::vector<TPageDraw> &draws) {
    QStringList items;
    for (const TPageDraw &d : draws)
        items << DrawJson(d);
    return QStringLiteral("<!DOCTYPE html><html><head><title>Results</title></head><body>"
                          "<script>window.__DATA__ = {\"game\":\"6x45\",\"drawsPast\":{\"draws\":[%1]}},"
                          "\"footer\":{\"year\":2027}};</script></body></html>")
        .arg(items.join(QLatin1Char(',')));
}

} // namespace lot::test
