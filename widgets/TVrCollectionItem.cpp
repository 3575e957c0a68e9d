#include "TVrCollectionItem.h"

#include "TVrCollection.h"

TVrCollectionItem::TVrCollectionItem(TVrCollection* Collection) {
    if (Collection)
        Collection->InsertItem(this);
}

TVrCollectionItem::~TVrCollectionItem() {
    if (m_collection)
        m_collection->RemoveItem(this);
}

int TVrCollectionItem::Index() const {
    return m_collection ? m_collection->IndexOf(this) : -1;
}

void TVrCollectionItem::Changed(bool AllItems) {
    if (!m_collection || m_collection->UpdateCount() != 0)
        return;
    m_collection->Update(AllItems ? nullptr : this);
}
