#pragma once
// TEMPORARY stand-in until the serial link lands.
#include <QComboBox>
#include <functional>
class TnrBaseIO;
class TnrDeviceBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void SetComm(TnrBaseIO*) { addItem(QStringLiteral("COM1")); }
    std::function<void(TnrDeviceBox* sender)> OnChange;
};
