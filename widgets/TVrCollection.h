#pragma once

#include <vector>

class TVrCollectionItem;

// An ordered list of owned items with bracketed change notification through Update.
class TVrCollection {
public:
    TVrCollection() = default;
    TVrCollection(const TVrCollection&) = delete;
    TVrCollection& operator=(const TVrCollection&) = delete;
    // Deletes the items without notification.
    virtual ~TVrCollection();

    int Count() const { return int(m_items.size()); }
    TVrCollectionItem* Items(int Index) const { return m_items.at(std::size_t(Index)); }
    int IndexOf(const TVrCollectionItem* Item) const;

    void BeginUpdate() { ++m_updateCount; }
    // Ends one bracket and, once none is open, reports a change of the whole collection.
    void EndUpdate();
    int UpdateCount() const { return m_updateCount; }

    // Deletes every item inside one bracket.
    void Clear();

protected:
    friend class TVrCollectionItem;
    // Called for a change of Item, or of all items when Item is null.
    virtual void Update(TVrCollectionItem* Item);

private:
    void InsertItem(TVrCollectionItem* Item);
    void RemoveItem(TVrCollectionItem* Item);
    void DeleteAll();

    std::vector<TVrCollectionItem*> m_items;
    int m_updateCount = 0;
};
