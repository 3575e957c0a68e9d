#pragma once

class TVrCollection;

// An item of a TVrCollection. Constructing it with a collection appends it there and hands its
// ownership to the collection; deleting it removes it from the collection.
class TVrCollectionItem {
public:
    explicit TVrCollectionItem(TVrCollection* Collection);
    TVrCollectionItem(const TVrCollectionItem&) = delete;
    TVrCollectionItem& operator=(const TVrCollectionItem&) = delete;
    virtual ~TVrCollectionItem();

    TVrCollection* Collection() const { return m_collection; }
    // Position in the collection; -1 when the item belongs to none.
    int Index() const;

protected:
    // Reports a change of this item (or, with AllItems, of the whole collection) to the collection,
    // unless the collection is bracketing changes.
    void Changed(bool AllItems);

private:
    friend class TVrCollection;
    TVrCollection* m_collection = nullptr;
};
