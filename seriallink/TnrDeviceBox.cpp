#include "TnrDeviceBox.h"

#include "TnrBaseIO.h"
#include "TnrException.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QStyle>

TnrDeviceBox::TnrDeviceBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, &TnrDeviceBox::Change);
}

TnrDeviceBox::~TnrDeviceBox() {
    if (FComm)
        FComm->NotifyDelete(TnrNotifyEvent::Make(this, &TnrDeviceBox::HandleNotify));
}

void TnrDeviceBox::SetComm(TnrBaseIO* comm) {
    clear();
    setCurrentIndex(-1);
    if (FComm && FComm != comm) {
        FComm->NotifyDelete(TnrNotifyEvent::Make(this, &TnrDeviceBox::HandleNotify));
        disconnect(FDestroyed);
    }
    if (comm) {
        comm->GetDeviceList(nullptr);
        for (int i = 0; i < comm->GetDeviceCount(); ++i) {
            const TnrDevice* d = comm->GetDevice(i);
            addItem(d->Name);
            if (!d->Description.isEmpty())
                setItemData(i, d->Description, Qt::ToolTipRole);
        }
        setCurrentIndex(comm->GetDeviceIndex());
        comm->NotifyAdd(TnrNotifyEvent::Make(this, &TnrDeviceBox::HandleNotify));
        if (FComm != comm)
            FDestroyed = connect(comm, &QObject::destroyed, this, [this] {
                FComm = nullptr;
                setCurrentIndex(-1);
            });
    }
    FComm = comm;
}

void TnrDeviceBox::Change(int index) {
    if (FComm) {
        try {
            FComm->SetDeviceIndex(index);
        } catch (const TnrException& e) {
            Reload();
            TnrBaseIO::PresentError(QStringLiteral("TnrException"), e.Message());
            return;
        } catch (const std::exception& e) {
            Reload();
            TnrBaseIO::PresentError(QStringLiteral("Error"), QString::fromLocal8Bit(e.what()));
            return;
        }
    }
    if (OnChange)
        OnChange(this);
}

void TnrDeviceBox::HandleNotify(TnrBaseIO*, int code) {
    if (code == 3)
        Reload();
}

void TnrDeviceBox::Reload() {
    SetComm(FComm);
}

void TnrDeviceBox::showPopup() {
    // Entries such as "/dev/ttyUSB0 (FT232R USB UART, A50285BI)" are wider than the designed box.
    QAbstractItemView* list = view();
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = qMax(widest, list->sizeHintForIndex(model()->index(i, modelColumn())).width());
    const int frame = 2 * list->frameWidth();
    const int scrollBar = count() > maxVisibleItems() ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    list->setMinimumWidth(widest + frame + scrollBar);
    QComboBox::showPopup();
}
