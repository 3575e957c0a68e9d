#pragma once

#include <QImage>
#include <QString>

#include <cstddef>

// Decodes JPEG data with libjpeg directly (the picture of the About page is stored as JPEG with the
// window). Qt's own JPEG plugin is deliberately not used, so the program does not depend on it.
class JpegImage {
public:
    struct Result {
        QImage image; // RGB32; null on failure
        QString error;
    };

    static Result decode(const unsigned char* data, std::size_t size);
};
