// TEMPORARY: painting of the stand-in LED.
#include "widgets/TVrUserLed.h"
#include <QPainter>
void TVrUserLed::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), active_ ? high_ : low_);
}
