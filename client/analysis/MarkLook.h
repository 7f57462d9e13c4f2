#pragma once

#include <QVariant>

#include "analysis/PriceMark.h"

namespace tolven {

// The look of a marked price (background, font, tooltip), the same in the
// grid and in the evaluations; nothing for other roles.
QVariant MarkLook(const PriceMark &mark, int role);

} // namespace tolven
