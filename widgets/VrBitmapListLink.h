#pragma once

#include "TVrBitmapList.h"
#include "TVrChangeLink.h"

#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <functional>

// A widget's hold on the TVrBitmapList it takes images from: follows the list's changes and notices
// when the list is deleted, calling Changed in both cases (after a deletion List() is null).
// User-interface thread only.
class VrBitmapListLink {
public:
    explicit VrBitmapListLink(std::function<void()> Changed);
    VrBitmapListLink(const VrBitmapListLink&) = delete;
    VrBitmapListLink& operator=(const VrBitmapListLink&) = delete;
    ~VrBitmapListLink();

    TVrBitmapList* List() const { return m_list; }
    // Follows Value from now on; false when it is already the list. Does not call Changed.
    bool SetList(TVrBitmapList* Value);
    // The list's bitmap at Index, or null when there is no list or no such bitmap.
    const QImage* Bitmap(int Index) const { return m_list ? m_list->GetBitmap(Index) : nullptr; }

private:
    void Detach();

    QPointer<TVrBitmapList> m_list;
    TVrChangeLink m_link;
    QMetaObject::Connection m_destroyed;
    std::function<void()> m_changed;
};
