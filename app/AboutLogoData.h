#pragma once

#include <cstddef>

// The About page's logo as JPEG bytes, embedded at build time from resources/about_logo.jpg.
extern const unsigned char kAboutLogoJpeg[];
extern const std::size_t kAboutLogoJpegSize;
