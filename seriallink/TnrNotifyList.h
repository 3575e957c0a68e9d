#pragma once
// The notification list of the I/O components: listeners learn that a port opened (2), closed (1),
// or changed its number / reloaded its device list (3). No lock: it is used on the owner's thread.
#include <QList>
#include <array>
#include <cstring>
#include <functional>

class TnrBaseIO;

// One listener: an object and one of its methods, identified by both parts together.
struct TnrNotifyEvent {
    const void* Object = nullptr;
    std::array<unsigned char, 16> Code{};
    std::function<void(TnrBaseIO* sender, int code)> Call;

    template <typename C> static TnrNotifyEvent Make(C* object, void (C::*method)(TnrBaseIO*, int)) {
        static_assert(sizeof(method) <= sizeof(Code));
        TnrNotifyEvent e;
        e.Object = object;
        std::memcpy(e.Code.data(), &method, sizeof(method));
        e.Call = [object, method](TnrBaseIO* sender, int code) { (object->*method)(sender, code); };
        return e;
    }
    bool SameAs(const TnrNotifyEvent& other) const { return Object == other.Object && Code == other.Code; }
};

class TnrNotifyList {
public:
    int Add(const TnrNotifyEvent& method);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TnrNotifyEvent Get(int index) const { return FItems.at(index); }
    void Put(int index, const TnrNotifyEvent& method) { FItems[index] = method; }
    int IndexOf(const TnrNotifyEvent& method) const;
    // Calls a snapshot, so a listener may withdraw itself (or others) while being called.
    void Call(TnrBaseIO* sender, int code) const;

private:
    QList<TnrNotifyEvent> FItems;
};
