#include "platform/ui/Shown_Geometry.h"
#include "platform/ui/PageControl.h"
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QWidget>

namespace {
TShown_Rect In_Window(const QWidget* W)
{
    if (!W) return {};
    const QPoint At = W->mapTo(W->window(), QPoint(0, 0));
    return {At.x(), At.y(), W->width(), W->height()};
}

const QTabBar* Tab_Row(const TPageControl* Pages)
{
    const auto* Tabs = Pages ? qobject_cast<const QTabWidget*>(Pages->Widget()) : nullptr;
    return Tabs ? Tabs->tabBar() : nullptr;
}
}  // namespace

namespace ui {

TShown_Rect Shown_Rect(const TControl* Control) { return In_Window(Control ? Control->Widget() : nullptr); }

TShown_Rect Shown_Tab_Row(const TPageControl* Pages) { return In_Window(Tab_Row(Pages)); }

bool Tabs_Fit(const TPageControl* Pages)
{
    const QTabBar* Row = Tab_Row(Pages);
    if (!Row) return false;
    // The scroll arrows are the row's own tool buttons.
    for (const QToolButton* Arrow : Row->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly))
        if (Arrow->isVisibleTo(Row)) return false;
    return true;
}

}  // namespace ui
