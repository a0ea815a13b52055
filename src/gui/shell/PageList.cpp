#include "gui/shell/PageList.h"

#include "gui/archive/DrawsPage.h"
#include "gui/combs/CombsPage.h"
#include "gui/scripts/ScriptPage.h"
#include "gui/shell/PlaceholderPage.h"
#include "gui/stakes/RatingsPage.h"
#include "gui/stakes/StakesPage.h"
#include "gui/stakes/TablesPage.h"
#include "gui/stats/GraphsPage.h"
#include "gui/stats/StatsPage.h"
#include "gui/systems/SystemsPage.h"
#include "gui/views/CardPage.h"
#include "gui/views/LayoutPage.h"

namespace lot {

namespace {

template <class T> TPageFactory Page() {
    return [](const TPageContext &context, QWidget *parent) -> TPage * {
        return new T(context.Workspace, context.Host, context.Actions, parent);
    };
}

/// A tab that is not built yet; its page replaces this line.
TPageFactory Placeholder(const char *name, const char *caption) {
    return [name, caption](const TPageContext &context, QWidget *parent) -> TPage * {
        return new TPlaceholderPage(QLatin1String(name), QString::fromUtf8(caption), context.Actions, parent);
    };
}

} // namespace

const QList<TPageFactory> &PageFactories() {
    static const QList<TPageFactory> pages = {
        Page<TDrawsPage>(),
        Page<TCombsPage>(),
        Page<TStatsPage>(),
        Page<TGraphsPage>(),
        Page<TCardPage>(),
        Page<TLayoutPage>(),
        Placeholder("tsWeek", "Неделя"),
        Page<TStakesPage>(),
        Page<TRatingsPage>(),
        Page<TTablesPage>(),
        Page<TSystemsPage>(),
        Page<TScriptPage>(),
    };
    return pages;
}

} // namespace lot
