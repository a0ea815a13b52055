#pragma once
/// @file The tab pages of the main window, in tab order.

#include "gui/shell/Page.h"

#include <functional>
#include <QList>

class QWidget;

namespace lot {

/// Builds one tab page; parent holds it until its page control takes it.
using TPageFactory = std::function<TPage *(const TPageContext &context, QWidget *parent)>;

/// Every tab page in tab order (each page control takes its own ones in
/// this order); page menu entries are appended in this order too.
const QList<TPageFactory> &PageFactories();

} // namespace lot
