#pragma once

#include <QString>

class QAccessibleInterface;
class QObject;

// The program's one factory of accessible interfaces: the indicator widgets' kinds and the traffic log
// (Qt's own widgets keep Qt's). Installed at start-up, before the window is built.
class AccessibleFactory {
public:
    static void Install();
    static QAccessibleInterface* Create(const QString& ClassName, QObject* Object);
};
