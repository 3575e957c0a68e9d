#include "TnrNotifyList.h"

int TnrNotifyList::Add(const TnrNotifyEvent& method) {
    FItems.append(method);
    return Count() - 1;
}

void TnrNotifyList::Delete(int index) {
    if (index >= 0 && index < Count())
        FItems.removeAt(index);
}

void TnrNotifyList::Clear() {
    FItems.clear();
}

int TnrNotifyList::IndexOf(const TnrNotifyEvent& method) const {
    for (int i = 0; i < Count(); ++i)
        if (FItems.at(i).SameAs(method))
            return i;
    return -1;
}

void TnrNotifyList::Call(TnrBaseIO* sender, int code) const {
    const QList<TnrNotifyEvent> snapshot = FItems;
    for (const TnrNotifyEvent& e : snapshot) {
        if (IndexOf(e) < 0)
            continue;
        if (e.Call)
            e.Call(sender, code);
    }
}
