#include "gui/filters/FormFilterHelp.h"

#include "core/WindowSettings.h"
#include "stats/MethodDescription.h"
#include "stats/StatList.h"

#include <QApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace lot {

namespace {
QSize ScreenSize(const QWidget *w) {
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().size() : QSize();
}
} // namespace

TFormFilterHelp::TFormFilterHelp(const TStatList &registry, int entry, TWindowSettings &settings,
                                 QWidget *parent)
    : QDialog(parent, Qt::Tool), m_settings(settings) {
    setObjectName(QLatin1String(Section));
    setWindowTitle(QStringLiteral("Описание методики расчета"));
    setSizeGripEnabled(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("wbHelp"));
    m_browser->setOpenExternalLinks(false);
    m_browser->setFont(QApplication::font("QMenu"));
    layout->addWidget(m_browser);

    // A help file page where one exists and can be shown; else the page the
    // program writes itself.
    const QUrl url(registry.EntryHelpUrl(entry));
    if (url.isLocalFile())
        m_browser->setSource(url);
    else
        m_browser->setHtml(DescribeMethod(registry, entry).ToHtml());

    QRect rect(0, 0, 560, 620);
    if (parent) rect.moveCenter(parent->window()->geometry().center());
    TWindowPlacement placement;
    if (m_settings.ReadPlacement(QLatin1String(Section), ScreenSize(this), placement)) {
        const TPlacementRect &r = placement.NormPos;
        const QRect stored(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1));
        if (stored.width() >= 150 && stored.height() >= 100) rect = stored;
    }
    setGeometry(rect);
}

TFormFilterHelp::~TFormFilterHelp() {
    StorePlacement();
}

void TFormFilterHelp::StorePlacement() {
    if (m_stored) return;
    m_stored = true;
    const QRect g = geometry();
    TWindowPlacement placement;
    placement.NormPos = {g.left(), g.top(), g.right() + 1, g.bottom() + 1};
    placement.PixelsPerInch = logicalDpiY();
    m_settings.WritePlacement(QLatin1String(Section), ScreenSize(this), placement);
}

void TFormFilterHelp::Execute(const TStatList &registry, int entry, TWindowSettings &settings,
                              QWidget *parent) {
    TFormFilterHelp form(registry, entry, settings, parent);
    form.exec();
    form.StorePlacement();
}

} // namespace lot
