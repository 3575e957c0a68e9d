#pragma once

#include "TVrSharedComponent.h"

#include <QImage>
#include <QList>

// An indexed list of bitmaps that switches and track bars can take their images from.
class TVrBitmapList : public TVrSharedComponent {
    Q_OBJECT
public:
    explicit TVrBitmapList(QObject* parent = nullptr);

    int Count() const { return int(m_bitmaps.size()); }
    // The bitmap at Index, or null when there is none.
    const QImage* GetBitmap(int Index) const;

    int Add(const QImage& Bitmap);
    void SetBitmap(int Index, const QImage& Bitmap);
    void Delete(int Index);
    void Clear();

private:
    QList<QImage> m_bitmaps;
};
