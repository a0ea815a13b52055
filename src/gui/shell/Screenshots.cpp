// The screenshot run (--screenshot DIR): every visible tab of both page
// controls, then the dialogs the pages and the window name, each as a PNG.

#include "gui/download/FormProxy.h"
#include "gui/shell/FormFirstRun.h"
#include "gui/shell/FormShredding.h"
#include "gui/shell/TemplateMain.h"

#include <QApplication>
#include <QDir>
#include <QTabWidget>

namespace lot {

QList<TScreenshotRender> TTemplateMain::ScreenshotRenders() {
    return {{QStringLiteral("TFormFirstRun"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormFirstRun>(m_host, m_helpFile, parent);
             }},
            {QStringLiteral("TFormProxy"),
             [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormProxy>(m_ws->Download().Proxy(), parent);
             }},
            {QStringLiteral("TFormShredding"), [this](QWidget *parent) -> std::unique_ptr<QWidget> {
                 return std::make_unique<TFormShredding>(m_ws->Stats().Registry().Shredding(), parent);
             }}};
}

bool TTemplateMain::SaveScreenshots(const QString &dir) {
    if (!QDir().mkpath(dir)) return false;
    bool ok = true;
    auto save = [&](QWidget *widget, const QString &name) {
        QApplication::processEvents();
        ok = widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png"))) && ok;
    };
    // A fixed size keeps the pictures comparable whatever screen the
    // platform reports.
    if (!isMaximized()) resize(1280, 800);
    const int mainIndex = m_pcMain->currentIndex();
    const int listIndex = m_pcLists->currentIndex();
    for (int i = 0; i < m_pcMain->count(); ++i) {
        if (!m_pcMain->isTabVisible(i)) continue;
        m_pcMain->setCurrentIndex(i);
        save(this, m_pcMain->widget(i)->objectName());
    }
    m_pcMain->setCurrentIndex(mainIndex);
    for (int i = 0; i < m_pcLists->count(); ++i) {
        m_pcLists->setCurrentIndex(i);
        save(this, m_pcLists->widget(i)->objectName());
    }
    m_pcLists->setCurrentIndex(listIndex);

    QList<TScreenshotRender> renders;
    for (const TPage *page : m_pages)
        renders += page->ScreenshotRenders();
    renders += ScreenshotRenders();
    for (const TScreenshotRender &render : renders) {
        const std::unique_ptr<QWidget> widget = render.Create(this);
        widget->show();
        save(widget.get(), render.FileName);
    }
    return ok;
}

} // namespace lot
