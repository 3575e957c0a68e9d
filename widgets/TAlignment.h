#pragma once

#include <Qt>

// Horizontal text alignment of the edit and the web label.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

inline Qt::Alignment ToQtAlignment(TAlignment Value) {
    switch (Value) {
    case taRightJustify:
        return Qt::AlignRight;
    case taCenter:
        return Qt::AlignHCenter;
    case taLeftJustify:
        break;
    }
    return Qt::AlignLeft;
}
