#pragma once
// One entry of an I/O component's device list: for serial ports, one port of the machine.
#include <QString>
#include <functional>

class TnrBaseIO;

class TnrDevice {
public:
    int Index = -1;
    TnrBaseIO* Owner = nullptr;
    // The port number (n of the component's ComPortNo).
    quint32 Data = 0;
    // The text shown in lists: the device path a Linux user knows (/dev/ttyUSB0), or a given name.
    QString Name;
    // The device node opened for this entry.
    QString DevicePath;
    // A longer description (the /dev/serial/by-id name where one exists), shown as tool tip.
    QString Description;
    QString SecondName;
    // Set for ports whose device path is only known when the port opens.
    std::function<QString()> PathProvider;
};
