#pragma once

// Helpers the form geometry sources share; not part of the library's interface.

#include "FormGeometry.h"

#include <cmath>

namespace FormInternal {

// Paper coordinates are whole 0.1 mm.
inline int paperRound(double v)
{
    return int(std::lround(v));
}

// A rectangle in reference window coordinates on the paper of the form.
QRect paperFromRef(const Form &f, const QRectF &ref);
// Top of item line `line` on the paper.
int paperRowTop(const Form &f, int line);
// The caption cell of a box lying at r, scaled by s from the reference
// window; null when the caption is not beside the box. Pictures and overlays
// both draw it.
QRectF captionCell(const FormBox &b, const QRectF &r, const QPointF &s);

} // namespace FormInternal
