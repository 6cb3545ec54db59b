#pragma once

#include <QRect>
#include <QtGlobal>

namespace corvane {

// Layouts are laid out in twips; 15 twips make one logical pixel.
constexpr int kTwipsPerPixel = 15;

inline int px(int twips)
{
    return qRound(twips / double(kTwipsPerPixel));
}

inline QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace corvane
