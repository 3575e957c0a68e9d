#pragma once
// TEMPORARY stand-in until the serial link lands.
#include <QComboBox>
class TnrComm;
class TnrDeviceBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void SetComm(TnrComm*) { addItem(QStringLiteral("COM1")); }
signals:
    void OnChange(QObject* Sender);
};
