#include "TnrComm.h"

TnrComm::TnrComm(QObject* parent) : TnrCustomSerialComm(parent) {}

TnrComm::~TnrComm() {
    SetDataProcessor(nullptr);
    OnTraceState = nullptr;
    Close();
}
