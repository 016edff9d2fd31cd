#include "core/PointerPlacement.h"

#include "core/Conversions.h"
#include "core/Units.h"

#include <QCursor>
#include <QWidget>

QPoint pointerTarget(double dialogLeft, double dialogTop, const TwipRect& button,
                     double twipsPerPixelX, double twipsPerPixelY, double captionOffset)
{
    const double x = (dialogLeft + button.left + button.width / 2 + 60) / twipsPerPixelX;
    const double y = (dialogTop + button.top + button.height / 2 + captionOffset) / twipsPerPixelY;
    return QPoint(int(conv::roundHalfEven(x)), int(conv::roundHalfEven(y)));
}

void placePointerOn(const QWidget* dialog, const QWidget* button, double captionOffset)
{
    const double tx = units::twipsPerPixelX();
    const double ty = units::twipsPerPixelY();
    const QPoint inDialog = button->mapTo(dialog, QPoint(0, 0));
    const TwipRect rect{inDialog.x() * tx, inDialog.y() * ty, button->width() * tx,
                        button->height() * ty};
    const QRect frame = dialog->frameGeometry();
    QCursor::setPos(pointerTarget(frame.x() * tx, frame.y() * ty, rect, tx, ty, captionOffset));
}
