#include "app/AccessibleFactory.h"

#include "app/TrafficMemo.h"
#include "app/TrafficMemoAccessible.h"

#include "widgets/VrAccessibleFactory.h"

#include <QAccessible>

void AccessibleFactory::Install() {
    QAccessible::installFactory(&AccessibleFactory::Create);
}

QAccessibleInterface* AccessibleFactory::Create(const QString& ClassName, QObject* Object) {
    if (QAccessibleInterface* widget = VrAccessibleInterface(ClassName, Object))
        return widget;
    if (auto* memo = qobject_cast<TrafficMemo*>(Object); memo && ClassName == QLatin1String("TrafficMemo"))
        return new TrafficMemoAccessible(memo);
    return nullptr;
}
