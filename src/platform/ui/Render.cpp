#include "platform/ui/UI.h"
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace ui {

bool Render_To_PNG(TControl* Control, const std::string& Path)
{
    if (!Control || !Control->Widget()) return false;
    QWidget* W = Control->Widget();
    W->ensurePolished();
    const QImage Image = W->grab().toImage();
    return !Image.isNull() && Image.save(QString::fromStdString(Path), "PNG");
}

}  // namespace ui
