#pragma once

// Enumerations shared by several widgets.
enum TVrOrientation { voVertical, voHorizontal };
// The end of the track where the lowest value lies: bottom or left, or top or right.
enum TVrProgressStyle { psBottomLeft, psTopRight };
