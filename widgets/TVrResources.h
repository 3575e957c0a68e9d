#pragma once

#include <QImage>
#include <QString>

// The widgets' built-in bitmaps, by resource name ("VRTB_HORI", "VRTB_VERT", "VRCURSORHANDPOINT").
class TVrResources {
public:
    // The named bitmap, or a null image when there is no such resource.
    static QImage Bitmap(const QString& Name);
};
