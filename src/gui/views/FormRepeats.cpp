#include "gui/views/FormRepeats.h"

#include "core/Format.h"
#include "core/Host.h"
#include "gui/shell/GuiHost.h"
#include "gui/stats/GraphChart.h"
#include "shell/Workspace.h"
#include "stats/DrawViews.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lot {

TFormRepeats::TFormRepeats(TWorkspace &workspace, TGuiHost &host, QWidget *parent)
    : QDialog(parent), m_ws(workspace), m_host(host) {
    setObjectName(QStringLiteral("TFormRepeats"));
    setWindowTitle(QStringLiteral("Количество повторов в зависимости от тиража"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto *layout = new QVBoxLayout(this);
    auto *controls = new QHBoxLayout;
    const TWindowSettings &settings = m_ws.Settings();
    controls->addWidget(new QLabel(QStringLiteral("Тиражей:"), this));
    m_edLen = new QSpinBox(this);
    m_edLen->setObjectName(QStringLiteral("edDrawsLen"));
    m_edLen->setRange(1, 2147483647);
    m_edLen->setValue(
        std::max(1, settings.ReadInt(QLatin1String(Section), QStringLiteral("DrawsLength"), 100)));
    controls->addWidget(m_edLen);
    controls->addWidget(new QLabel(QStringLiteral("Глубина:"), this));
    m_edDeep = new QSpinBox(this);
    m_edDeep->setObjectName(QStringLiteral("edDeep"));
    m_edDeep->setRange(1, 2147483647);
    m_edDeep->setValue(
        std::max(1, settings.ReadInt(QLatin1String(Section), QStringLiteral("DrawsDeep"), 100)));
    m_edDeep->setToolTip(
        QStringLiteral("Количество тиражей, просматриваемых \"в глубину\" для поиска совпадений"));
    controls->addWidget(m_edDeep);
    auto *calculate = new QPushButton(QStringLiteral("Рассчитать"), this);
    calculate->setObjectName(QStringLiteral("btCalculate"));
    controls->addWidget(calculate);
    controls->addStretch();
    layout->addLayout(controls);
    auto *splitter = new QSplitter(Qt::Vertical, this);
    m_list = new QTableWidget(0, 4, splitter);
    m_list->setObjectName(QStringLiteral("lvRepeats"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Тираж"), QStringLiteral("Совпадений"),
                                       QStringLiteral("Кол-во повторов"), QStringLiteral("Список тиражей")});
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_chart = new TGraphChart(splitter);
    m_chart->setObjectName(QStringLiteral("chRepeats"));
    m_chart->setMinimumHeight(120);
    splitter->addWidget(m_list);
    splitter->addWidget(m_chart);
    const int graphHeight = settings.ReadInt(QLatin1String(Section), QStringLiteral("GraphHeight"), 250);
    splitter->setSizes({400, std::clamp(graphHeight, 60, 2000)});
    layout->addWidget(splitter, 1);
    connect(calculate, &QPushButton::clicked, this, &TFormRepeats::Calculate);
    resize(900, 650);
}

TFormRepeats::~TFormRepeats() {
    m_ws.StoreSetting([this](TWindowSettings &s) {
        s.WriteInt(QLatin1String(Section), QStringLiteral("DrawsLength"), m_edLen->value());
        s.WriteInt(QLatin1String(Section), QStringLiteral("DrawsDeep"), m_edDeep->value());
        s.WriteInt(QLatin1String(Section), QStringLiteral("GraphHeight"), m_chart->height());
    });
}

void TFormRepeats::Calculate() {
    const TDrawsArray &draws = m_ws.Archive().Draws().Draws();
    const int length = std::min<int>(m_edLen->value(), int(draws.size()));
    QList<TRepeatRow> rows;
    {
        TBusyGuard busy(m_host);
        TProgressGuard progress(m_host, QStringLiteral("Идет сбор статистики...."), std::max(1, length));
        rows = ComputeRepeats(draws, length, m_edDeep->value(), [this] {
            m_host.ProgressStep();
            return true;
        });
    }
    m_list->setRowCount(int(rows.size()));
    int maxShared = 0;
    for (int r = 0; r < rows.size(); ++r) {
        const TRepeatRow &row = rows[r];
        const QStringList cells{QString::number(row.Draw), QString::number(row.Shared),
                                QString::number(row.Count), row.DrawsList};
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c < 3) item->setTextAlignment(Qt::AlignCenter);
            m_list->setItem(r, c, item);
        }
        maxShared = std::max(maxShared, row.Shared);
    }
    m_chart->Clear();
    if (rows.isEmpty()) {
        m_chart->Finish();
        return;
    }
    TBusyGuard busy(m_host);
    TProgressGuard progress(m_host, QStringLiteral("Создание графиков..."), int(rows.size()));
    // One series per shared count, created in order 1..largest so their
    // titles and legend entries stay in that order.
    QRandomGenerator colours(uint(maxShared) * 7919u + uint(rows.size()));
    for (int k = 1; k <= maxShared; ++k) {
        const QColor colour = QColor::fromHsv(int(colours.bounded(360)), 200, 200);
        const QString title = Format(QStringLiteral("Совпадений: %d"), {k});
        m_chart->EnsureSeries(title, true, false, colour, 2);
        for (const TRepeatRow &row : rows)
            if (row.Shared == k) {
                m_chart->AddPoint(row.Draw, title, row.Count, true, false, colour, 2);
                m_host.ProgressStep();
            }
    }
    m_chart->Finish();
}

} // namespace lot
