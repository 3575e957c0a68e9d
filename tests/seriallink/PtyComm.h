#pragma once
// A component with the main window's settings, set to a pseudo-terminal through an extra port, with
// a lock folder of its own.
#include "PtyPair.h"
#include "SerialDevice.h"
#include "TestPorts.h"
#include "TnrComm.h"

#include <QTemporaryDir>
#include <QtGlobal>
#include <memory>
#include <utility>

struct PtyComm {
    // device: a device layer of the test's own in place of the plain POSIX port.
    explicit PtyComm(std::unique_ptr<SerialDevice> device = nullptr) {
        comm.SetLockFolder(locks.path());
        comm.SetPortEnumerator(FedPortList::FromComNames({}));
        comm.SetWatchDeviceChanges(false);
        comm.SetBaudRate(9600);
        comm.SetStreamProtocol(spNone);
        comm.SetBufferInSize(128);
        comm.SetBufferOutSize(128);
        if (device)
            comm.SetSerialDevice(std::move(device));
        number = comm.AddExtraPort(QStringLiteral("pty"), pty.SlavePath());
        comm.SetComPortNo(number);
    }
    PtyPair pty;
    QTemporaryDir locks;
    TnrComm comm;
    quint16 number = 0;
};
