// The catalogue's reply reader over a script list of 5,000 entries (about 3 MB, as the
// catalogue server writes it): the rows alone, and the rows with every element decoded as
// the client reads a script list. The floor is one pass that finds every row tag.

#include "BenchUtil.h"

#include "catalogue/CatalogueCodec.h"
#include "catalogue/CatalogueReply.h"

#include <benchmark/benchmark.h>

namespace lot {
namespace {

const QByteArray &ScriptList() {
    static const QByteArray body = [] {
        QByteArray b = "<result>";
        for (int i = 1; i <= 5000; ++i) {
            const QString title = QStringLiteral("Сценарий номер %1 с длинным названием").arg(i);
            const QString descr =
                QStringLiteral("Описание сценария %1: две строки фильтров, частые и чётные числа, "
                               "ставки по всему списку после исключения тиражей.")
                    .arg(i);
            b += "<row><id>" + QByteArray::number(i) +
                 "</id><app_name>Brantlee_6x45</app_name><app_ver>0.1.0</app_ver>"
                 "<key_cl_name>" +
                 QStringLiteral("Автор %1").arg(i % 97).toUtf8() +
                 "</key_cl_name>"
                 "<key_cl_mail>author" +
                 QByteArray::number(i % 97) +
                 "@example.org</key_cl_mail>"
                 "<key_cl_lcid>1049</key_cl_lcid><uniapps>0</uniapps><publics>1</publics>"
                 "<created>2026-12-05 21:07:09</created><last_download>2026-12-06 10:00:00</last_download>"
                 "<rating_avg>3.5000</rating_avg><rating_cnt>12</rating_cnt><rating_you>0</rating_you>"
                 "<downloads>40</downloads><title>" +
                 Base64(title.toUtf8()) + "</title><descr>" + Base64(descr.toUtf8()) +
                 "</descr><app_guid>{6B3E0D45-B6A4-4F45-8C06-B45A6E45D645}</app_guid></row>";
        }
        return b + "</result>";
    }();
    return body;
}

void Scan(benchmark::State &state) {
    for (auto _ : state) {
        qsizetype rows = 0;
        for (qsizetype pos = ScriptList().indexOf("<row>"); pos >= 0;
             pos = ScriptList().indexOf("<row>", pos + 5))
            ++rows;
        benchmark::DoNotOptimize(rows);
    }
}

void Rows(benchmark::State &state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReply(ScriptList()).size());
}

void Decoded(benchmark::State &state) {
    for (auto _ : state) {
        double sum = 0;
        for (const TReplyRow &row : ReadReply(ScriptList())) {
            sum += row.Integer(QStringLiteral("id")) + row.IntegerOr(QStringLiteral("key_cl_lcid"), 0) +
                   row.IntegerOr(QStringLiteral("uniapps"), 0) + row.IntegerOr(QStringLiteral("publics"), 0) +
                   row.Decimal(QStringLiteral("rating_avg")) +
                   row.IntegerOr(QStringLiteral("rating_cnt"), 0) +
                   row.IntegerOr(QStringLiteral("rating_you"), 0) +
                   row.IntegerOr(QStringLiteral("downloads"), 0);
            sum += row.Ansi(QStringLiteral("app_name")).size() + row.Ansi(QStringLiteral("app_ver")).size() +
                   row.Utf8(QStringLiteral("key_cl_name")).size() +
                   row.Utf8(QStringLiteral("key_cl_mail")).size() +
                   row.Base64Utf8(QStringLiteral("title")).size() +
                   row.Base64Utf8(QStringLiteral("descr")).size() +
                   row.Ansi(QStringLiteral("app_guid")).size();
            sum += row.Date(QStringLiteral("created")).isValid() +
                   row.Date(QStringLiteral("last_download")).isValid();
        }
        benchmark::DoNotOptimize(sum);
    }
}

BENCHMARK(Scan)->Unit(benchmark::kMillisecond);
BENCHMARK(Rows)->Unit(benchmark::kMillisecond);
BENCHMARK(Decoded)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace lot

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    lot::bench::TRatioReporter reporter("Scan", "one pass over the row tags");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
