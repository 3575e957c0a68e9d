#include "TVrBitmapList.h"

TVrBitmapList::TVrBitmapList(QObject* parent) : TVrSharedComponent(parent) {}

const QImage* TVrBitmapList::GetBitmap(int Index) const {
    if (Index < 0 || Index >= m_bitmaps.size() || m_bitmaps[Index].isNull())
        return nullptr;
    return &m_bitmaps[Index];
}

int TVrBitmapList::Add(const QImage& Bitmap) {
    m_bitmaps.append(Bitmap);
    NotifyLinks();
    return int(m_bitmaps.size()) - 1;
}

void TVrBitmapList::SetBitmap(int Index, const QImage& Bitmap) {
    if (Index < 0 || Index >= m_bitmaps.size())
        return;
    m_bitmaps[Index] = Bitmap;
    NotifyLinks();
}

void TVrBitmapList::Delete(int Index) {
    if (Index < 0 || Index >= m_bitmaps.size())
        return;
    m_bitmaps.removeAt(Index);
    NotifyLinks();
}

void TVrBitmapList::Clear() {
    if (m_bitmaps.isEmpty())
        return;
    m_bitmaps.clear();
    NotifyLinks();
}
