#include "VrAccessibleFactory.h"

#include "TVrCustomRaster.h"
#include "TVrPowerButton.h"
#include "TVrSwitch.h"
#include "TVrTrackBar.h"
#include "TVrUserLed.h"
#include "TVrWebLabel.h"
#include "VrAccessiblePowerButton.h"
#include "VrAccessibleRaster.h"
#include "VrAccessibleSwitch.h"
#include "VrAccessibleTrackBar.h"
#include "VrAccessibleUserLed.h"
#include "VrAccessibleWebLabel.h"

QAccessibleInterface* VrAccessibleInterface(const QString& ClassName, QObject* Object) {
    // Asked once for each class of the object's ancestry, its own first: the widget kind answers there.
    if (Object->metaObject()->className() != ClassName)
        return nullptr;
    if (auto* button = qobject_cast<TVrPowerButton*>(Object))
        return new VrAccessiblePowerButton(button);
    if (auto* led = qobject_cast<TVrUserLed*>(Object))
        return new VrAccessibleUserLed(led);
    if (auto* bar = qobject_cast<TVrTrackBar*>(Object))
        return new VrAccessibleTrackBar(bar);
    if (auto* control = qobject_cast<TVrSwitch*>(Object))
        return new VrAccessibleSwitch(control);
    if (auto* raster = qobject_cast<TVrCustomRaster*>(Object))
        return new VrAccessibleRaster(raster);
    if (auto* label = qobject_cast<TVrWebLabel*>(Object))
        return new VrAccessibleWebLabel(label);
    return nullptr;
}
