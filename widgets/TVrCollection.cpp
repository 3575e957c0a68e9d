#include "TVrCollection.h"

#include "TVrCollectionItem.h"

#include <algorithm>

TVrCollection::~TVrCollection() {
    ++m_updateCount;
    DeleteAll();
}

int TVrCollection::IndexOf(const TVrCollectionItem* Item) const {
    const auto it = std::find(m_items.begin(), m_items.end(), Item);
    return it == m_items.end() ? -1 : int(it - m_items.begin());
}

void TVrCollection::EndUpdate() {
    if (m_updateCount > 0)
        --m_updateCount;
    if (m_updateCount == 0)
        Update(nullptr);
}

void TVrCollection::Clear() {
    if (m_items.empty())
        return;
    BeginUpdate();
    DeleteAll();
    EndUpdate();
}

void TVrCollection::Update(TVrCollectionItem*) {}

void TVrCollection::InsertItem(TVrCollectionItem* Item) {
    m_items.push_back(Item);
    Item->m_collection = this;
}

void TVrCollection::RemoveItem(TVrCollectionItem* Item) {
    const auto it = std::find(m_items.begin(), m_items.end(), Item);
    if (it != m_items.end())
        m_items.erase(it);
    Item->m_collection = nullptr;
}

void TVrCollection::DeleteAll() {
    while (!m_items.empty())
        delete m_items.back();
}
