#pragma once
// The port chooser: a drop-down list of the linked port component's device list. It selects the
// entry of the component's current port and moves the component to the port the user picks.
// It follows the component's notifications (3: reload) and unlinks itself when the component is
// destroyed. A port's /dev/serial/by-id name is the entry's tool tip. The closed box keeps the size
// it is given; the open list is as wide as its longest entry. Owner's (GUI) thread only.
#include "TnrBaseIO.h"

#include <QComboBox>
#include <QPointer>
#include <functional>

class TnrDeviceBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(bool ResetOnChanged READ ResetOnChanged WRITE SetResetOnChanged)
public:
    explicit TnrDeviceBox(QWidget* parent = nullptr);
    ~TnrDeviceBox() override;

    TnrBaseIO* nrComm() const { return FComm; }
    void SetComm(TnrBaseIO* comm);
    bool ResetOnChanged() const { return FResetOnChanged; }
    void SetResetOnChanged(bool value) { FResetOnChanged = value; }

    // The user picked entry index: moves the linked port there, then OnChange. A failure to reopen
    // the port goes to the error presenter (TnrBaseIO::SetErrorPresenter); OnChange does not run.
    void Change(int index);
    void HandleNotify(TnrBaseIO* sender, int code);
    void Reload();

    void showPopup() override;

    std::function<void(TnrDeviceBox* sender)> OnChange;

private:
    QPointer<TnrBaseIO> FComm;
    QMetaObject::Connection FDestroyed;
    bool FResetOnChanged = false;
};
