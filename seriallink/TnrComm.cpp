#include "TnrComm.h"

TnrComm::TnrComm(QObject* parent) : TnrCustomSerialComm(parent) {}

TnrComm::~TnrComm() {
    JoinRetiredThreads();
    SetDataProcessor(nullptr);
    OnTraceState = nullptr;
    Close();
}
