#include "VrBitmapListLink.h"

#include <utility>

VrBitmapListLink::VrBitmapListLink(std::function<void()> Changed) : m_changed(std::move(Changed)) {
    m_link.OnChange = [this](TVrSharedComponent*) { m_changed(); };
}

VrBitmapListLink::~VrBitmapListLink() {
    Detach();
}

bool VrBitmapListLink::SetList(TVrBitmapList* Value) {
    if (Value == m_list)
        return false;
    Detach();
    m_list = Value;
    if (Value) {
        Value->InsertLink(&m_link);
        m_destroyed = QObject::connect(Value, &QObject::destroyed, [this] {
            m_list = nullptr;
            m_changed();
        });
    }
    return true;
}

void VrBitmapListLink::Detach() {
    QObject::disconnect(m_destroyed);
    if (m_list)
        m_list->RemoveLink(&m_link);
}
