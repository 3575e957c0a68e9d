#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The accessible interface of one of these widgets (power button, LED, track bar, switch, raster, web
// label), or nullptr for anything else. The application's one factory, installed at start-up with
// QAccessible::installFactory, asks this first.
QAccessibleInterface* VrAccessibleInterface(const QString& ClassName, QObject* Object);
