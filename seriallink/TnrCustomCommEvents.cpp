// TnrCustomComm: worker threads, the receive dispatcher and the modem-line monitors.
#include "TnrCustomComm.h"

#include "NrLineSettings.h"
#include "SerialDevice.h"
#include "TCommThread.h"
#include "TMsgThread.h"
#include "TnrCustomDataProcessor.h"
#include "TnrException.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMetaProperty>
#include <QSocketNotifier>
#include <cerrno>

void TnrCustomComm::StartThreads() {
    JoinRetiredThreads();
    if (!FChannel) {
        const bool handToOwner = QCoreApplication::instance() != nullptr;
        FChannel = std::make_shared<CommEventChannel>(FPort->CreateEventSource(), handToOwner);
        if (handToOwner) {
            FOwnerNotifier = new QSocketNotifier(FChannel->OwnerWakeFd(), QSocketNotifier::Read, this);
            connect(FOwnerNotifier, &QSocketNotifier::activated, this, &TnrCustomComm::OnOwnerWake);
        }
    }
    if (!FMsgThread)
        FMsgThread = std::make_unique<TMsgThread>(FChannel, [this](quint32 mask) { WinProc(mask); });
    if (!FCommThread)
        FCommThread = std::make_unique<TCommThread>(FChannel);
    UpdateModemWatch();
}

void TnrCustomComm::UpdateModemWatch() {
    if (!FChannel)
        return;
    CommEventChannel* channel = FChannel.get();
    // Watching the modem lines of a real port means sampling them; that runs only while a modem-line
    // event is wanted, so a port that nobody asks about them costs nothing while the line is quiet.
    constexpr quint32 modemEvents = NrEv::Cts | NrEv::Dsr | NrEv::Rlsd | NrEv::Ring;
    if (channel->EventMask() & modemEvents) {
        channel->Source().StartModemWatch([channel](quint32 mask) {
            if (mask & channel->EventMask())
                channel->PushEvent(mask & channel->EventMask());
        });
    } else {
        channel->Source().StopModemWatch();
    }
}

void TnrCustomComm::StopThreads() {
    JoinRetiredThreads();
    if (!FChannel)
        return;
    const std::shared_ptr<CommEventChannel> channel = FChannel;
    channel->Stop();
    channel->Source().StopModemWatch();
    if (FCommThread) {
        FCommThread->Join();
        FCommThread.reset();
    }
    if (FMsgThread) {
        // A handler closing the port runs on the message thread itself, which cannot wait for
        // itself: it ends once the handler returns, and is joined at the next Close or Open.
        if (!FMsgThread->Finish())
            FRetiredMsgThread = std::move(FMsgThread);
        FMsgThread.reset();
    }
    if (FOwnerNotifier) {
        // This may run inside the notifier's own activation.
        FOwnerNotifier->setEnabled(false);
        FOwnerNotifier->deleteLater();
        FOwnerNotifier = nullptr;
    }
    FChannel.reset();
}

void TnrCustomComm::JoinRetiredThreads() {
    if (FRetiredMsgThread && FRetiredMsgThread->Finish())
        FRetiredMsgThread.reset();
}

bool TnrCustomComm::CommThreadRunning() const {
    return FCommThread && FCommThread->Running();
}

bool TnrCustomComm::MsgThreadRunning() const {
    return FMsgThread && FMsgThread->Running();
}

bool TnrCustomComm::ModemWatchRunning() const {
    return FChannel && FChannel->Source().ModemWatchRunning();
}

quint64 TnrCustomComm::CommThreadWakeups() const {
    return FChannel ? FChannel->CommWakeups.load() : 0;
}

void TnrCustomComm::OnOwnerWake() {
    const std::shared_ptr<CommEventChannel> channel = FChannel;
    if (!channel)
        return;
    channel->DrainOwnerWake();
    quint64 sequence = 0;
    if (const std::optional<quint32> mask = channel->TakeHandOver(sequence)) {
        struct Release {
            CommEventChannel* channel;
            quint64 sequence;
            ~Release() { channel->Done(sequence); }
        } release{channel.get(), sequence};
        WinProc(*mask);
    }
    if (channel->Failed() && channel == FChannel)
        HandleLineFailure();
}

bool TnrCustomComm::TakeReceived() {
    const quint32 waiting = FComStat.cbInQue;
    if (static_cast<quint32>(FReadBuffer.size()) < waiting) {
        // Every byte waiting goes out with this event, whatever BufferInSize: the comm thread is
        // woken by new bytes only, so bytes left behind would wait for the next arrival.
        FReadBuffer.resize(static_cast<qsizetype>(waiting));
        FEventList.PrepareBuffer(waiting);
    }
    quint32 got = 0;
    const int err = FPort->ReadAvailable(FReadBuffer.data(), static_cast<quint32>(FReadBuffer.size()), got);
    FTotalReceived += got;
    if (err) {
        NoteDeviceError(err);
        return false;
    }
    if (got == 0)
        return false;
    const bool flag = HoldsEventChar(FReadBuffer.constData(), got);
    DispatchReceived(FReadBuffer, got);
    return flag;
}

void TnrCustomComm::WinProc(quint32 mask) {
    try {
        if (!IsHandleValid())
            return;
        SerialLineStatus status;
        if (!QueryLineStatus(status))
            return;
        quint32 traced = mask;
        if (status.Errors) {
            // The waiting bytes stay queued and the rest of the event is dropped, but the line
            // states it carries (a break, the error itself) are still traced.
            DoCommError(status.Errors, 0, status.Flags);
        } else {
            if ((mask & NrEv::RxChar) && FComStat.cbInQue > 0) {
                const bool reads = FTraceStates.Contains(tsRxChar) || OnAfterReceive || DataProcessor() ||
                                   Terminal() || FEventListOnLine || FEventList.Count() > 0;
                if (reads && TakeReceived() && FTraceStates.Contains(tsRxFlag))
                    traced |= NrEv::RxFlag;
            }
            if (mask & NrEv::TxEmpty) {
                bool done = false;
                if (DataProcessor())
                    DataProcessor()->DoAfterSendComplete(done);
                if (FTraceStates.Contains(tsTxEmpty) && !done && OnAfterSend)
                    OnAfterSend(this);
            }
        }
        const TTraceStates states = NrLineSettings::TraceStatesFor(traced);
        if (!states.IsEmpty())
            DoTraceStates(this, states);
    } catch (const std::exception& e) {
        const int detail = errno;
        const auto* own = dynamic_cast<const TnrException*>(&e);
        const QString message = own ? own->Message() : QString::fromLocal8Bit(e.what());
        try {
            DoFatalErrors(1, static_cast<quint32>(detail), message, true);
        } catch (...) {
            PresentError(QStringLiteral("Error"), message);
        }
    } catch (...) {
        PresentError(QStringLiteral("Error"), QStringLiteral("Unknown exception in the receive handler"));
    }
}

void TnrCustomComm::DispatchReceived(QByteArray keep, quint32 count) {
    // keep shares the read buffer, so the block outlives a handler that closes the port.
    const char* block = keep.constData();
    TIgnoreTypes ignore;
    if (DataProcessor())
        DataProcessor()->DoProcessing(block, count, ignore);
    if (Terminal() && !ignore.Contains(itTerminal))
        UpdateTerminalByChars(block, static_cast<int>(count));
    bool handled = false;
    if (!ignore.Contains(itEventList) && FEventListOnLine && FEventList.Count() > 0) {
        for (quint32 j = 0; j < count; ++j) {
            const int k = FEventList.IsEvent(block[j]);
            if (k < 0)
                continue;
            FEventList.SetLastPosition(k, j);
            if (OnListEvent) {
                const quint32 n = FEventList.SetBufferByEvent(k, block + j + 1, count - j - 1);
                OnListEvent(this, k, FEventList.Buffer(), static_cast<int>(n), handled);
            }
        }
    }
    if (!handled && FTraceStates.Contains(tsRxChar) && !ignore.Contains(itAfterReceive) && OnAfterReceive)
        OnAfterReceive(this, block, count);
}

void TnrCustomComm::DoTraceStates(QObject* sender, TTraceStates states) {
    const TModemSignals present = GetStateModemSignals();
    if (FMonitorCTS)
        DoCheckMonitor(FMonitorCTS, present.Contains(msCTS));
    if (FMonitorDSR)
        DoCheckMonitor(FMonitorDSR, present.Contains(msDSR));
    if (FMonitorRLSD)
        DoCheckMonitor(FMonitorRLSD, present.Contains(msRLSD));
    if (states.Contains(tsRing) && FMonitorRing)
        DoCheckMonitor(FMonitorRing, true);
    if (OnTraceState)
        OnTraceState(sender, states);
}

void TnrCustomComm::DoCheckMonitor(QObject* control, bool value) {
    if (!control)
        return;
    const QMetaObject* meta = control->metaObject();
    const int index = meta->indexOfProperty("Checked");
    if (index < 0)
        return;
    const QMetaProperty property = meta->property(index);
    if (property.metaType().id() != QMetaType::Bool || !property.isWritable())
        return;
    property.write(control, value);
}
